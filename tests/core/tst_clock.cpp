// The manual clock must fire timers exactly as real time would, nested waits included.
#include "fakes/manualclock.h"

#include <QtTest>

class TstClock : public QObject
{
    Q_OBJECT
private slots:
    void repeatingTimerFiresOncePerInterval();
    void singleShotFiresOnceAndStops();
    void intervalChangedInsideTickAppliesToNextTick();
    void nestedWaitInsideTickKeepsTimeMonotonic();
    void wallClockFollowsMonotonic();
    void pauseFiresTimersButWaitIsCounted();
};

void TstClock::repeatingTimerFiresOncePerInterval()
{
    ManualClock clock;
    auto t = clock.createTimer();
    t->setInterval(1000);
    int ticks = 0;
    QObject::connect(t.get(), &ClockTimer::timeout, [&] { ++ticks; });
    t->start();
    clock.advanceMs(999);
    QCOMPARE(ticks, 0);
    clock.advanceMs(1);
    QCOMPARE(ticks, 1);
    clock.advanceMs(4500);
    QCOMPARE(ticks, 5);
    t->stop();
    clock.advanceMs(10000);
    QCOMPARE(ticks, 5);
}

void TstClock::singleShotFiresOnceAndStops()
{
    ManualClock clock;
    auto t = clock.createTimer();
    t->setSingleShot(true);
    t->setInterval(10000);
    int ticks = 0;
    QObject::connect(t.get(), &ClockTimer::timeout, [&] { ++ticks; });
    t->start();
    clock.advanceSeconds(60);
    QCOMPARE(ticks, 1);
    QVERIFY(!t->isActive());
}

void TstClock::intervalChangedInsideTickAppliesToNextTick()
{
    // The scheduler's pattern: first tick after 20 s, each tick sets 10 s.
    ManualClock clock;
    auto t = clock.createTimer();
    t->setInterval(20000);
    QList<qint64> at;
    QObject::connect(t.get(), &ClockTimer::timeout, [&] {
        at << clock.monotonicMs();
        t->setInterval(10000);
    });
    t->start();
    clock.advanceSeconds(45);
    QCOMPARE(at, (QList<qint64>{20000, 30000, 40000}));
}

void TstClock::nestedWaitInsideTickKeepsTimeMonotonic()
{
    ManualClock clock;
    auto t = clock.createTimer();
    t->setInterval(10000);
    QList<qint64> at;
    bool nested = false;
    QObject::connect(t.get(), &ClockTimer::timeout, [&] {
        at << clock.monotonicMs();
        if (!nested) {
            nested = true;
            clock.waitSeconds(25); // a job that lets events run sees later ticks start inside it
        }
    });
    t->start();
    clock.advanceSeconds(40);
    QCOMPARE(at, (QList<qint64>{10000, 20000, 30000, 40000}));
    QCOMPARE(clock.monotonicMs(), qint64(40000));
}

void TstClock::wallClockFollowsMonotonic()
{
    ManualClock clock(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 50)));
    clock.advanceSeconds(15);
    QCOMPARE(clock.now(), QDateTime(QDate(2027, 1, 1), QTime(0, 0, 5)));
    clock.setNow(QDateTime(QDate(2026, 3, 1), QTime(8, 0)));
    QCOMPARE(clock.monotonicMs(), qint64(15000));
    QCOMPARE(clock.now(), QDateTime(QDate(2026, 3, 1), QTime(8, 0)));
}

void TstClock::pauseFiresTimersButWaitIsCounted()
{
    ManualClock clock;
    clock.waitSeconds(3);
    clock.pauseSeconds(2);
    QCOMPARE(clock.secondsWaited(), 3.0);
    QCOMPARE(clock.secondsPaused(), 2.0);
    QCOMPARE(clock.monotonicMs(), qint64(5000));
}

QTEST_GUILESS_MAIN(TstClock)
#include "tst_clock.moc"
