// Keeps the station port open: a port that is lost, or could not be opened, is tried again
// on the clock's timer until it opens.
#pragma once

#include <QObject>
#include <QString>
#include <memory>

class Clock;
class ClockTimer;
class SerialPort;

// Tries every 10 s for the first 5 minutes of an outage, then every 60 s, so a USB adapter
// plugged back in is found quickly while a port that is gone for good costs little.
// A loss and the port's return are each reported once.
class PortKeeper : public QObject
{
    Q_OBJECT
public:
    static constexpr int FirstRetryMs = 10 * 1000;
    static constexpr int LaterRetryMs = 60 * 1000;
    static constexpr qint64 FirstRetryPhaseMs = 5 * 60 * 1000;

    // Uses the port and the clock it is given and owns neither.
    PortKeeper(SerialPort &port, Clock &clock, QObject *parent = nullptr);
    ~PortKeeper() override;

    // Opens the port now. When that fails, tries again on the timer and returns false.
    bool open();
    // Closes the port and stops trying: a close on purpose is no outage.
    void close();
    bool isRetrying() const;

signals:
    void lost(const QString &why);
    void returned();

private:
    void onLost(const QString &why);
    void retry();
    void scheduleRetry();

    SerialPort &m_port;
    Clock &m_clock;
    std::unique_ptr<ClockTimer> m_retry;
    qint64 m_downSinceMs = -1; // monotonic start of the outage; -1 while the port is up
    bool m_reportReturn = false;
};
