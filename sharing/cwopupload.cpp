// The APRS-IS exchange of a CWOP report.
#include "sharing/cwopupload.h"

#include "core/clock.h"

#include <QTcpSocket>

CwopUpload::CwopUpload(Clock &clock, const QString &server, int port, const QByteArray &login,
                       const QByteArray &packet, int limitMs, QObject *parent)
    : Job(parent), m_clock(clock), m_server(server), m_port(port), m_login(login), m_packet(packet),
      m_limitMs(limitMs)
{
}

CwopUpload::~CwopUpload()
{
    stopSteps();
}

void CwopUpload::run()
{
    m_packetSent = false;
    m_buffer.clear();
    m_socket = std::make_unique<QTcpSocket>();
    m_deadline = m_clock.createTimer();
    m_deadline->setSingleShot(true);
    m_deadline->setInterval(m_limitMs);
    connect(m_deadline.get(), &ClockTimer::timeout, this, [this] {
        end(UploadResult::Failed, QStringLiteral("no answer within %1 s").arg(m_limitMs / 1000));
    });
    connect(m_socket.get(), &QTcpSocket::connected, this, [this] { m_socket->write(m_login); });
    connect(m_socket.get(), &QTcpSocket::readyRead, this, &CwopUpload::onReadyRead);
    connect(m_socket.get(), &QTcpSocket::disconnected, this, [this] {
        if (m_packetSent)
            end(UploadResult::Sent, QString());
        else
            end(UploadResult::Failed,
                QStringLiteral("the server closed the connection before the login was answered"));
    });
    connect(m_socket.get(), &QTcpSocket::errorOccurred, this, [this] {
        // The server closing after our packet is the normal end, reported by disconnected().
        if (m_packetSent && m_socket->error() == QAbstractSocket::RemoteHostClosedError)
            return;
        end(UploadResult::Failed, m_socket->errorString());
    });
    m_deadline->start();
    m_socket->connectToHost(m_server, quint16(m_port));
}

void CwopUpload::onReadyRead()
{
    m_buffer += m_socket->readAll();
    if (m_buffer.size() > 64 * 1024)
        m_buffer = m_buffer.right(4096); // the server's traffic is of no interest past the login
    qsizetype nl;
    while (!m_packetSent && (nl = m_buffer.indexOf('\n')) >= 0) {
        const QByteArray line = m_buffer.left(nl).trimmed();
        m_buffer.remove(0, nl + 1);
        if (!line.startsWith("# logresp"))
            continue;
        m_packetSent = true;
        m_socket->write(m_packet);
        // Closes once everything written has gone out; disconnected() follows.
        m_socket->disconnectFromHost();
    }
}

void CwopUpload::end(UploadResult::Kind kind, const QString &reason)
{
    if (!m_socket)
        return;
    m_result = {kind, reason.isEmpty()
                          ? reason
                          : QStringLiteral("%1:%2: %3").arg(m_server).arg(m_port).arg(reason)};
    stopSteps();
    finish();
}

void CwopUpload::stopSteps()
{
    if (m_deadline)
        m_deadline->stop();
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
        // Deleted later: this may run from one of the socket's own signals.
        m_socket.release()->deleteLater();
    }
}
