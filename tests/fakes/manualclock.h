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
    std::unique_ptr<ClockTimer> createTimer(QObject *parent = nullptr) override;

    // Moves time forward, firing every timer whose deadline is passed, in deadline order.
    // After each firing the queued calls it posted run, as they would before real time
    // moved on.
    void advanceMs(qint64 ms);
    void advanceSeconds(double seconds) { advanceMs(qint64(seconds * 1000.0)); }
    // Moves time forward to the wall time `wall` (a real instant, so across a change of
    // summer time it is the elapsed time that counts).
    void advanceTo(const QDateTime &wall) { advanceMs(now().msecsTo(wall)); }
    // Sets the wall clock without moving the monotonic clock and without firing timers.
    void setNow(const QDateTime &wall);

private:
    friend class ManualTimer;
    void registerTimer(class ManualTimer *t);
    void unregisterTimer(class ManualTimer *t);

    QDateTime m_wallAtZero; // wall time when the monotonic clock read 0
    qint64 m_monotonic = 0;
    QList<class ManualTimer *> m_timers;
};
