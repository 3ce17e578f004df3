// A clock that moves only when told to; its timers fire as the time passes them.
#pragma once

#include "core/clock.h"

#include <QList>


class ManualClock final : public Clock
{
public:
    explicit ManualClock(const QDateTime &start = QDateTime(QDate(2026, 1, 15), QTime(12, 0)));
    ~ManualClock() override;

    QDateTime now() const override;
    qint64 monotonicMs() const override { return m_monotonic; }

    // Advances the clock by `seconds` and lets pending events run.
    void waitSeconds(double seconds) override;
    // Advances the clock by `seconds`, running no events but firing due timers.
    void pauseSeconds(double seconds) override;
    std::unique_ptr<ClockTimer> createTimer(QObject *parent = nullptr) override;

    // Moves time forward, firing every timer whose deadline is passed, in deadline order.
    void advanceMs(qint64 ms);
    void advanceSeconds(double seconds) { advanceMs(qint64(seconds * 1000.0)); }
    // Sets the wall clock without moving the monotonic clock and without firing timers.
    void setNow(const QDateTime &wall);
    // Total number of seconds waited through waitSeconds, for tests of the waits.
    double secondsWaited() const { return m_waited; }
    double secondsPaused() const { return m_paused; }

private:
    friend class ManualTimer;
    void registerTimer(class ManualTimer *t);
    void unregisterTimer(class ManualTimer *t);

    QDateTime m_wallAtZero; // wall time when the monotonic clock read 0
    qint64 m_monotonic = 0;
    double m_waited = 0;
    double m_paused = 0;
    QList<class ManualTimer *> m_timers;
};
