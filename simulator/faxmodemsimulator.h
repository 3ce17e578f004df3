// A fax modem that answers the questions of fax modem detection, played on the device side of
// a pseudo-terminal.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QStringList>
#include <memory>

class QSocketNotifier;

// Echo is off and replies are verbose. "AT+FCLASS=?" is answered with the service classes
// ("0,1,2" by default; none gives "ERROR", as a data-only modem does), "ATI" with the
// identity, any other AT command with "OK". A silent modem answers nothing.
class FaxModemSimulator : public QObject
{
    Q_OBJECT
public:
    // `deviceFd` is the master side of a pseudo-terminal, non-blocking; not owned.
    explicit FaxModemSimulator(int deviceFd, QObject *parent = nullptr);
    ~FaxModemSimulator() override;

    void setClasses(const QByteArray &classes) { m_classes = classes; }
    void setIdentity(const QByteArray &identity) { m_identity = identity; }
    void setSilent(bool on) { m_silent = on; }

    // Every command line taken, in order.
    QStringList commands() const { return m_commands; }
    // Bytes read from the port side, and reply bytes written to it, so far.
    qint64 bytesReceived() const { return m_bytesReceived; }
    qint64 bytesWritten() const { return m_bytesWritten; }

private:
    void readDevice();
    void commandLine(const QByteArray &line);
    void reply(const QByteArray &data);

    int m_fd;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QByteArray m_classes = "0,1,2";
    QByteArray m_identity = "Simulated Fax Modem 14400";
    bool m_silent = false;
    QByteArray m_line;
    QStringList m_commands;
    qint64 m_bytesReceived = 0;
    qint64 m_bytesWritten = 0;
};
