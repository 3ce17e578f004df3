// Manual clock for tests and benchmarks.
#include "fakes/manualclock.h"

#include <QCoreApplication>

class ManualTimer final : public ClockTimer
{
public:
    ManualTimer(ManualClock *clock, QObject *parent) : ClockTimer(parent), m_clock(clock)
    {
        m_clock->registerTimer(this);
    }
    ~ManualTimer() override
    {
        if (m_clock)
            m_clock->unregisterTimer(this);
    }
    void setInterval(int ms) override
    {
        m_interval = ms;
        if (m_active)
            start(); // as QTimer: a running timer restarts with the new interval
    }
    int interval() const override { return m_interval; }
    void setSingleShot(bool s) override { m_singleShot = s; }
    bool isSingleShot() const override { return m_singleShot; }
    void start() override
    {
        m_active = true;
        m_started = m_clock->monotonicMs();
        m_deadline = m_started + qMax(0, m_interval);
    }
    void stop() override { m_active = false; }
    bool isActive() const override { return m_active; }

    ManualClock *m_clock;
    int m_interval = 0;
    bool m_singleShot = false;
    bool m_active = false;
    qint64 m_started = 0;
    qint64 m_deadline = 0;
};

ManualClock::ManualClock(const QDateTime &start) : m_wallAtZero(start) {}

ManualClock::~ManualClock()
{
    for (ManualTimer *t : std::as_const(m_timers))
        t->m_clock = nullptr;
}

QDateTime ManualClock::now() const
{
    return m_wallAtZero.addMSecs(m_monotonic);
}

void ManualClock::setNow(const QDateTime &wall)
{
    m_wallAtZero = wall.addMSecs(-m_monotonic);
}

std::unique_ptr<ClockTimer> ManualClock::createTimer(QObject *parent)
{
    return std::make_unique<ManualTimer>(this, parent);
}

void ManualClock::registerTimer(ManualTimer *t)
{
    m_timers.append(t);
}

void ManualClock::unregisterTimer(ManualTimer *t)
{
    m_timers.removeAll(t);
}

void ManualClock::advanceMs(qint64 ms)
{
    const qint64 target = m_monotonic + qMax<qint64>(0, ms);
    for (;;) {
        // The earliest due timer; a timer fired may start, stop or delete timers, and a
        // test's handler may advance the clock itself, so the list is searched afresh.
        ManualTimer *next = nullptr;
        for (ManualTimer *t : std::as_const(m_timers)) {
            if (t->m_active && t->m_deadline <= target &&
                (!next || t->m_deadline < next->m_deadline))
                next = t;
        }
        if (!next)
            break;
        m_monotonic = qMax(m_monotonic, next->m_deadline);
        if (next->m_singleShot) {
            next->m_active = false;
        } else {
            next->m_started = next->m_deadline;
            next->m_deadline += qMax(1, next->m_interval);
        }
        emit next->timeout();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    }
    m_monotonic = qMax(m_monotonic, target);
}
