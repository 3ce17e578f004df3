// The simulated fax modem.
#include "simulator/faxmodemsimulator.h"

#include <QSocketNotifier>
#include <cerrno>
#include <unistd.h>

FaxModemSimulator::FaxModemSimulator(int deviceFd, QObject *parent)
    : QObject(parent), m_fd(deviceFd)
{
    if (m_fd >= 0) {
        m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
        connect(m_notifier.get(), &QSocketNotifier::activated, this,
                &FaxModemSimulator::readDevice);
    }
}

FaxModemSimulator::~FaxModemSimulator() = default;

void FaxModemSimulator::readDevice()
{
    char buf[256];
    for (;;) {
        const ssize_t n = ::read(m_fd, buf, sizeof buf);
        if (n > 0) {
            m_bytesReceived += n;
            for (ssize_t i = 0; i < n; ++i) {
                if (buf[i] == '\r') {
                    commandLine(m_line.trimmed());
                    m_line.clear();
                } else if (buf[i] != '\n') {
                    m_line += buf[i];
                }
            }
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            m_notifier->setEnabled(false); // no port side open: do not spin on the error
        return;
    }
}

void FaxModemSimulator::commandLine(const QByteArray &line)
{
    if (!line.toUpper().startsWith("AT"))
        return;
    m_commands << QString::fromLatin1(line);
    if (m_silent)
        return;
    const QByteArray command = line.toUpper();
    if (command == "AT+FCLASS=?")
        reply(m_classes.isEmpty() ? QByteArray("ERROR") : m_classes + "\r\n\r\nOK");
    else if (command == "ATI")
        reply(m_identity + "\r\n\r\nOK");
    else
        reply("OK");
}

void FaxModemSimulator::reply(const QByteArray &data)
{
    const QByteArray bytes = "\r\n" + data + "\r\n";
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += n;
        m_bytesWritten += n;
    }
}
