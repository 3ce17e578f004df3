// The system clock and its timers.
#include "clock.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
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

void SystemClock::waitSeconds(double seconds)
{
    // A nested event loop rather than a spinning one: it sleeps until an event or
    // the deadline arrives.
    const QDateTime due = now().addMSecs(qint64(seconds * 1000.0));
    while (now() < due) {
        QEventLoop loop;
        QTimer::singleShot(int(qMax<qint64>(1, now().msecsTo(due))), Qt::PreciseTimer, &loop,
                           &QEventLoop::quit);
        loop.exec();
    }
}

void SystemClock::pauseSeconds(double seconds)
{
    QThread::msleep(quint64(qMax(0.0, seconds) * 1000.0));
}

std::unique_ptr<ClockTimer> SystemClock::createTimer(QObject *parent)
{
    return std::make_unique<SystemTimer>(parent);
}
