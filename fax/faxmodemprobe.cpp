// The fax modem probe: one device at a time, each question with its own deadline.
#include "fax/faxmodemprobe.h"

#include "acquisition/serialport.h"
#include "core/clock.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// More than any modem's answer to these two questions; a line that keeps talking is cut off.
constexpr qsizetype AnswerLimit = 4096;

// The lines of an answer without the echoed command and the final result code.
QList<QByteArray> answerLines(const QByteArray &answer)
{
    QList<QByteArray> lines;
    for (QByteArray line : answer.split('\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith("AT") || line == "OK" || line == "ERROR")
            continue;
        lines << line;
    }
    return lines;
}

bool isComplete(const QByteArray &answer)
{
    for (const QByteArray &line : answer.split('\n')) {
        const QByteArray t = line.trimmed();
        if (t == "OK" || t == "ERROR")
            return true;
    }
    return false;
}

} // namespace

QString FaxModem::description() const
{
    return QStringLiteral("%1 (%2)").arg(
        identity.isEmpty() ? QStringLiteral("Fax modem") : identity, devicePath);
}

bool offersFaxClass(const QByteArray &classes)
{
    static const QRegularExpression item(QStringLiteral("(\\d+)(?:\\.\\d+)?(?:\\s*-\\s*(\\d+))?"));
    auto it = item.globalMatch(QString::fromLatin1(classes));
    while (it.hasNext()) {
        const auto m = it.next();
        const int from = m.captured(1).toInt();
        const int to = m.captured(2).isEmpty() ? from : m.captured(2).toInt();
        if (from <= 2 && to >= 1)
            return true;
    }
    return false;
}

QStringList faxCandidateDevices(const QString &programDir, const QStringList &inUse)
{
    QStringList paths;
    for (int port = 1; port <= 8; ++port)
        paths << devicePathForPort(port, programDir);
    const QDir dev(QStringLiteral("/dev"));
    for (const QString &name : dev.entryList({QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*")},
                                             QDir::System, QDir::Name))
        paths << dev.filePath(name);

    // A "Ports.cfg" alias and the device it points at are one modem.
    const auto key = [](const QString &path) {
        const QString real = QFileInfo(path).canonicalFilePath();
        return real.isEmpty() ? path : real;
    };
    QStringList seen;
    for (const QString &path : inUse)
        seen << key(path);
    QStringList unique;
    for (const QString &path : paths) {
        if (seen.contains(key(path)))
            continue;
        seen << key(path);
        unique << path;
    }
    return unique;
}

FaxModemProbe::FaxModemProbe(Clock &clock, PortFactory ports, QObject *parent)
    : QObject(parent), m_ports(std::move(ports)), m_timer(clock.createTimer())
{
    m_timer->setSingleShot(true);
    connect(m_timer.get(), &ClockTimer::timeout, this, [this] { answered(false); });
}

FaxModemProbe::~FaxModemProbe() = default;

void FaxModemProbe::start(const QStringList &devicePaths, int limit)
{
    if (m_running)
        return;
    m_running = true;
    m_pending = devicePaths;
    m_found.clear();
    m_limit = limit;
    nextDevice();
}

void FaxModemProbe::nextDevice()
{
    closePort();
    while (!m_pending.isEmpty() && m_found.size() < m_limit) {
        const QString path = m_pending.takeFirst();
        m_port = m_ports();
        m_port->setDevicePath(path);
        SerialSettings settings;
        settings.baud = 19200; // what efax talks to the modem at
        m_port->setSettings(settings);
        if (!m_port->open()) {
            m_port.reset();
            continue;
        }
        connect(m_port.get(), &SerialPort::readyRead, this, &FaxModemProbe::onReadyRead);
        ask(Asking::Classes, "AT+FCLASS=?\r");
        return;
    }
    m_running = false;
    emit finished(m_found);
}

void FaxModemProbe::ask(Asking what, const QByteArray &command)
{
    m_asking = what;
    m_answer.clear();
    if (m_port->bytesAvailable() > 0)
        m_port->read(m_port->bytesAvailable()); // nothing said before the question counts
    m_port->write(command);
    m_timer->setInterval(AnswerMs);
    m_timer->start();
}

void FaxModemProbe::onReadyRead()
{
    if (!m_port || !m_timer->isActive())
        return;
    m_answer += m_port->read(m_port->bytesAvailable());
    if (m_answer.size() > AnswerLimit)
        m_answer = m_answer.right(AnswerLimit);
    if (isComplete(m_answer)) {
        m_timer->stop();
        answered(true);
    }
}

void FaxModemProbe::answered(bool complete)
{
    const QList<QByteArray> lines = complete ? answerLines(m_answer) : QList<QByteArray>();
    if (m_asking == Asking::Classes) {
        if (complete && !m_answer.contains("ERROR") && offersFaxClass(lines.join(','))) {
            ask(Asking::Identity, "ATI\r");
            return;
        }
    } else {
        // A modem that will not name itself is still a fax modem.
        QStringList identity;
        for (const QByteArray &line : lines)
            identity << QString::fromLatin1(line);
        m_found.append({m_port->devicePath(), identity.join(QLatin1Char(' ')).simplified()});
    }
    nextDevice();
}

void FaxModemProbe::closePort()
{
    if (!m_port)
        return;
    m_port->disconnect(this);
    m_port->close();
    // This may run inside the port's own readyRead.
    m_port.release()->deleteLater();
}
