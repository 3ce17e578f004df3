// The manual clock must fire timers exactly as real time would.
#include "fakes/manualclock.h"

#include <QtTest>

class TstClock : public QObject
{
    Q_OBJECT
private slots:
    void repeatingTimerFiresOncePerInterval();
    void singleShotFiresOnceAndStops();
    void intervalChangedWhileRunningRestartsTheTimer();
    void queuedCallsOfATimeoutRunBeforeTimeMovesOn();
    void wallClockFollowsMonotonic();
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

void TstClock::intervalChangedWhileRunningRestartsTheTimer()
{
    // As QTimer: setInterval on a running timer counts the new interval from now.
    ManualClock clock;
    auto t = clock.createTimer();
    t->setInterval(20000);
    QList<qint64> at;
    QObject::connect(t.get(), &ClockTimer::timeout, [&] { at << clock.monotonicMs(); });
    t->start();
    clock.advanceSeconds(15);
    t->setInterval(10000);
    clock.advanceSeconds(30);
    QCOMPARE(at, (QList<qint64>{25000, 35000, 45000}));
}

void TstClock::queuedCallsOfATimeoutRunBeforeTimeMovesOn()
{
    ManualClock clock;
    auto t = clock.createTimer();
    t->setSingleShot(true);
    t->setInterval(1000);
    QObject context;
    QList<qint64> ranAt;
    QObject::connect(t.get(), &ClockTimer::timeout, [&] {
        QMetaObject::invokeMethod(
            &context, [&] { ranAt << clock.monotonicMs(); }, Qt::QueuedConnection);
    });
    t->start();
    clock.advanceSeconds(5);
    QCOMPARE(ranAt, QList<qint64>{1000});
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

QTEST_GUILESS_MAIN(TstClock)
#include "tst_clock.moc"
