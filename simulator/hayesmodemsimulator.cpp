// The simulated modem and paging service.
#include "simulator/hayesmodemsimulator.h"

#include "core/clock.h"

#include <QSocketNotifier>
#include <cerrno>
#include <unistd.h>

namespace {

// A modem gives up on a call nobody answers after its carrier wait (register S7).
constexpr int NoCarrierMs = 45000;

QByteArray verbose(const char *result)
{
    return QByteArray("\r\n") + result + "\r\n";
}

} // namespace

HayesModemSimulator::HayesModemSimulator(int deviceFd, Clock &clock, QObject *parent)
    : QObject(parent), m_fd(deviceFd), m_clock(clock), m_dialTimer(clock.createTimer()),
      m_paceTimer(clock.createTimer())
{
    m_dialTimer->setSingleShot(true);
    connect(m_dialTimer.get(), &ClockTimer::timeout, this, &HayesModemSimulator::dialled);
    m_paceTimer->setSingleShot(true);
    connect(m_paceTimer.get(), &ClockTimer::timeout, this,
            &HayesModemSimulator::writeNextCharacter);
    if (m_fd >= 0) {
        m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
        connect(m_notifier.get(), &QSocketNotifier::activated, this,
                &HayesModemSimulator::readDevice);
    }
}

HayesModemSimulator::~HayesModemSimulator() = default;

QStringList HayesModemSimulator::commandTexts() const
{
    QStringList out;
    for (const Line &l : m_commands)
        out << l.text;
    return out;
}

void HayesModemSimulator::readDevice()
{
    char buf[512];
    for (;;) {
        const ssize_t n = ::read(m_fd, buf, sizeof buf);
        if (n > 0) {
            m_received.append(buf, int(n));
            for (ssize_t i = 0; i < n; ++i)
                takeByte(char(buf[i] & 0x7f)); // 7 data bits: the parity bit is not data
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && m_notifier) {
            // No port side left open: stop listening rather than spin on the error.
            m_notifier->setEnabled(false);
        }
        return;
    }
}

void HayesModemSimulator::takeByte(char c)
{
    if (c == '\n')
        return;
    if (c != '\r') {
        m_line.append(c);
        if (m_mode == Mode::Online && m_line == "+++") {
            m_line.clear();
            m_mode = Mode::OnlineHeld;
            m_commands.append({m_clock.monotonicMs(), QStringLiteral("+++")});
            emit commandReceived(QStringLiteral("+++"));
            reply(verbose("OK"));
        }
        return;
    }
    const QByteArray line = m_line;
    m_line.clear();
    if (m_mode == Mode::Online)
        serviceLine(line);
    else
        commandLine(line);
}

void HayesModemSimulator::commandLine(const QByteArray &raw)
{
    // A modem skips whatever comes before the "AT" of a command (an escape sent in
    // command mode, line noise).
    const QByteArray upper = raw.trimmed().toUpper();
    const int at = upper.indexOf("AT");
    if (at < 0)
        return;
    const QByteArray line = upper.mid(at);
    m_commands.append({m_clock.monotonicMs(), QString::fromLatin1(line)});
    emit commandReceived(QString::fromLatin1(line));
    if (!m_answersCommands || m_mode == Mode::Dialling)
        return;
    if (line.startsWith("ATD")) {
        m_mode = Mode::Dialling;
        m_dialTimer->setInterval(m_carrier ? m_dialMs : NoCarrierMs);
        m_dialTimer->start();
        return;
    }
    if (line.startsWith("ATZ") || line.startsWith("ATH"))
        endCall();
    reply(verbose("OK"));
}

void HayesModemSimulator::dialled()
{
    if (m_mode != Mode::Dialling)
        return;
    if (!m_carrier) {
        m_mode = Mode::Command;
        reply(verbose("NO CARRIER"));
        return;
    }
    m_mode = Mode::Online;
    m_service = Service::AwaitWake;
    reply(verbose("CONNECT 1200"));
}

void HayesModemSimulator::endCall()
{
    m_dialTimer->stop();
    m_mode = Mode::Command;
    m_service = Service::AwaitWake;
}

void HayesModemSimulator::serviceLine(const QByteArray &line)
{
    if (!m_servicePrompts)
        return;
    switch (m_service) {
    case Service::AwaitWake:
        m_service = Service::AwaitId;
        reply("ID=");
        break;
    case Service::AwaitId:
        if (line.trimmed().toUpper() == "M") {
            m_service = Service::AwaitPager;
            reply("\r\nEnter pager number, then RETURN\r\n");
        } else {
            reply("\r\nID=");
        }
        break;
    case Service::AwaitPager:
        if (line.trimmed().isEmpty()) {
            reply("\r\nEnter pager number, then RETURN\r\n");
            break;
        }
        m_pagerNumber = QString::fromLatin1(line.trimmed());
        m_service = Service::AwaitMessage;
        reply("\r\nEnter message, then RETURN\r\n");
        break;
    case Service::AwaitMessage: {
        const Page page{m_pagerNumber, QString::fromLatin1(line)};
        m_pages.append(page);
        m_service = Service::AwaitPager;
        reply("\r\nMessage accepted. Next pager number, then RETURN\r\n");
        emit pageReceived(page);
        break;
    }
    }
}

void HayesModemSimulator::reply(const QByteArray &text)
{
    if (m_characterMs <= 0) {
        writeDevice(text);
        return;
    }
    m_pending += text;
    if (!m_paceTimer->isActive()) {
        m_paceTimer->setInterval(m_characterMs);
        m_paceTimer->start();
    }
}

void HayesModemSimulator::writeNextCharacter()
{
    if (m_pending.isEmpty())
        return;
    writeDevice(m_pending.left(1));
    m_pending.remove(0, 1);
    if (!m_pending.isEmpty()) {
        m_paceTimer->setInterval(m_characterMs);
        m_paceTimer->start();
    }
}

void HayesModemSimulator::writeDevice(const QByteArray &data)
{
    qint64 done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(m_fd, data.constData() + done, size_t(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return; // a full or closed line drops the reply, as a real line would
        done += n;
        m_bytesWritten += n;
    }
}
