// The system clock and its timers.
#include "clock.h"

#include <QElapsedTimer>
#include <QTimer>

namespace {

qint64 monotonicNow()
{
    static QElapsedTimer started = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return started.elapsed();
}

class SystemTimer final : public ClockTimer
{
public:
    explicit SystemTimer(QObject *parent) : ClockTimer(parent), m_timer(this)
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, &ClockTimer::timeout);
    }
    void setInterval(int ms) override { m_timer.setInterval(ms); }
    int interval() const override { return m_timer.interval(); }
    void setSingleShot(bool singleShot) override { m_timer.setSingleShot(singleShot); }
    bool isSingleShot() const override { return m_timer.isSingleShot(); }
    void start() override { m_timer.start(); }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
};

} // namespace

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

qint64 SystemClock::monotonicMs() const
{
    return monotonicNow();
}

std::unique_ptr<ClockTimer> SystemClock::createTimer(QObject *parent)
{
    return std::make_unique<SystemTimer>(parent);
}
