// Every calling rule of Timer1, proven with recording jobs on a manual clock.
#include "config/configuration.h"
#include "fakes/manualclock.h"
#include "scheduler/recordingjobs.h"
#include "scheduler/scheduler.h"

#include <QtTest>

namespace {

QDateTime at(int y, int mo, int d, int h, int mi, int s = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

struct Rig
{
    explicit Rig(const QDateTime &start)
        : clock(start), jobs(clock), scheduler(clock, config, jobs, jobs)
    {
        scheduler.start();
    }
    ManualClock clock;
    Configuration config;
    RecordingJobs jobs;
    Scheduler scheduler;
};

enum class Job { Publishing, Logging };

QString jobName(Job j)
{
    return j == Job::Publishing ? QStringLiteral("publish") : QStringLiteral("log");
}

void setInterval(Configuration &c, Job j, qint16 minutes)
{
    (j == Job::Publishing ? c.UploadInterval : c.LoggingInterval) = minutes;
}

QDateTime nextDue(const Scheduler &s, Job j)
{
    return j == Job::Publishing ? s.state().NextUploadTime : s.state().NextLogTime;
}

} // namespace

Q_DECLARE_METATYPE(Job)

class TstScheduler : public QObject
{
    Q_OBJECT
private slots:
    void timer1FirstTickAfter20sThenEvery10s();
    void nonPositiveIntervalNeverRuns_data();
    void nonPositiveIntervalNeverRuns();
    void firstRunOneIntervalAfterFirstTick_data();
    void firstRunOneIntervalAfterFirstTick();
    void minuteZeroSkippedButAdvanced_data();
    void minuteZeroSkippedButAdvanced();
    void catchUpAfterSuspendAtMostOncePerMinute_data();
    void catchUpAfterSuspendAtMostOncePerMinute();
    void savedIntervalKeepsComputedDueTime();
    void monthDatabaseOnEveryTickEvenWithLoggingOff();
    void pagerChecksOnlyWhenARowIsEnabled_data();
    void pagerChecksOnlyWhenARowIsEnabled();
    void pagerFlagsClearedEveryQuarterHour_data();
    void pagerFlagsClearedEveryQuarterHour();
    void dailyGraphs_data();
    void dailyGraphs();
    void nestedTickDoesNotRerunARunningJob_data();
    void nestedTickDoesNotRerunARunningJob();
    void failingStepDoesNotStopTheOthers();
};

void TstScheduler::timer1FirstTickAfter20sThenEvery10s()
{
    Rig r(at(2026, 1, 15, 12, 0));
    r.clock.advanceMs(19999);
    QCOMPARE(r.jobs.monthDates.size(), 0);
    r.clock.advanceMs(1);
    QCOMPARE(r.jobs.monthDates.size(), 1);
    r.clock.advanceMs(9999);
    QCOMPARE(r.jobs.monthDates.size(), 1);
    r.clock.advanceMs(1);
    QCOMPARE(r.jobs.monthDates.size(), 2);
    r.clock.advanceSeconds(600);
    QCOMPARE(r.jobs.monthDates.size(), 62);
    r.scheduler.stop();
    r.clock.advanceSeconds(600);
    QCOMPARE(r.jobs.monthDates.size(), 62);
}

void TstScheduler::nonPositiveIntervalNeverRuns_data()
{
    QTest::addColumn<Job>("job");
    QTest::addColumn<int>("interval");
    QTest::newRow("publishing 0") << Job::Publishing << 0;
    QTest::newRow("publishing -5") << Job::Publishing << -5;
    QTest::newRow("logging 0") << Job::Logging << 0;
    QTest::newRow("logging -1") << Job::Logging << -1;
}

void TstScheduler::nonPositiveIntervalNeverRuns()
{
    QFETCH(Job, job);
    QFETCH(int, interval);
    Rig r(at(2026, 1, 15, 12, 0));
    setInterval(r.config, job, qint16(interval));
    r.clock.advanceSeconds(3 * 3600);
    QCOMPARE(r.jobs.times(jobName(job)).size(), 0);
    QVERIFY(!nextDue(r.scheduler, job).isValid());
}

void TstScheduler::firstRunOneIntervalAfterFirstTick_data()
{
    QTest::addColumn<Job>("job");
    QTest::addColumn<int>("interval");
    QTest::addColumn<QDateTime>("firstRun");
    QTest::addColumn<QDateTime>("secondRun");
    // First tick 12:00:20 sets the due time to 12:00:20 + interval; a due time must be
    // passed, so the tick at that very second does not fire, the next one does.
    QTest::newRow("publishing every 5")
        << Job::Publishing << 5 << at(2026, 1, 15, 12, 5, 30) << at(2026, 1, 15, 12, 10, 30);
    QTest::newRow("logging every 1")
        << Job::Logging << 1 << at(2026, 1, 15, 12, 1, 30) << at(2026, 1, 15, 12, 2, 30);
    QTest::newRow("logging every 15")
        << Job::Logging << 15 << at(2026, 1, 15, 12, 15, 30) << at(2026, 1, 15, 12, 30, 30);
}

void TstScheduler::firstRunOneIntervalAfterFirstTick()
{
    QFETCH(Job, job);
    QFETCH(int, interval);
    QFETCH(QDateTime, firstRun);
    QFETCH(QDateTime, secondRun);
    Rig r(at(2026, 1, 15, 12, 0));
    setInterval(r.config, job, qint16(interval));
    r.clock.advanceSeconds(20);
    QCOMPARE(r.jobs.times(jobName(job)).size(), 0);
    QCOMPARE(nextDue(r.scheduler, job), at(2026, 1, 15, 12, 0, 20).addSecs(interval * 60));
    r.clock.advanceSeconds(2 * interval * 60 + 15);
    QCOMPARE(r.jobs.times(jobName(job)), (QList<QDateTime>{firstRun, secondRun}));
}

void TstScheduler::minuteZeroSkippedButAdvanced_data()
{
    QTest::addColumn<Job>("job");
    QTest::newRow("publishing") << Job::Publishing;
    QTest::newRow("logging") << Job::Logging;
}

void TstScheduler::minuteZeroSkippedButAdvanced()
{
    QFETCH(Job, job);
    // Started 11:58: the first due time 12:00:20 falls in minute 0 while the last-run
    // minute still holds its starting 0.
    Rig r(at(2026, 1, 15, 11, 58));
    setInterval(r.config, job, 2);
    r.clock.advanceSeconds(20 + 2 * 60 + 10); // through the 12:00:30 tick
    QCOMPARE(r.jobs.times(jobName(job)).size(), 0);
    QCOMPARE(nextDue(r.scheduler, job), at(2026, 1, 15, 12, 2, 20));
    r.clock.advanceSeconds(2 * 60);
    QCOMPARE(r.jobs.times(jobName(job)), QList<QDateTime>{at(2026, 1, 15, 12, 2, 30)});
}

void TstScheduler::catchUpAfterSuspendAtMostOncePerMinute_data()
{
    QTest::addColumn<Job>("job");
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("suspendMinutes");
    QTest::newRow("publishing every 2, one hour away") << Job::Publishing << 2 << 60;
    QTest::newRow("logging every 1, half an hour away") << Job::Logging << 1 << 30;
    QTest::newRow("logging every 10, two hours away") << Job::Logging << 10 << 120;
}

void TstScheduler::catchUpAfterSuspendAtMostOncePerMinute()
{
    QFETCH(Job, job);
    QFETCH(int, interval);
    QFETCH(int, suspendMinutes);
    Rig r(at(2026, 1, 15, 12, 3));
    setInterval(r.config, job, qint16(interval));
    r.clock.advanceSeconds(25 * 60);
    const int before = int(r.jobs.times(jobName(job)).size());
    QVERIFY(before > 0);

    // Suspended: the wall clock jumps, no tick runs in between.
    const QDateTime resumed = r.clock.now().addSecs(suspendMinutes * 60);
    r.clock.setNow(resumed);
    const QDateTime behind = nextDue(r.scheduler, job);
    QVERIFY(behind < resumed);
    r.clock.advanceSeconds(30 * 60);

    const QList<QDateTime> runs = r.jobs.times(jobName(job)).mid(before);
    QSet<QString> minutes;
    for (const QDateTime &t : runs)
        minutes.insert(t.toString(QStringLiteral("yyyy-MM-dd HH:mm")));
    QCOMPARE(minutes.size(), runs.size()); // two due times in one minute give one run
    // The backlog was worked off: the due time is ahead of the clock again, by at most
    // one interval, on the grid of the original due times.
    const QDateTime next = nextDue(r.scheduler, job);
    QVERIFY(next >= r.clock.now());
    QVERIFY(next <= r.clock.now().addSecs(interval * 60));
    QCOMPARE(behind.secsTo(next) % (interval * 60), 0);
    // Right after waking, the runs come once a minute while catching up.
    QVERIFY(!runs.isEmpty());
    QVERIFY(runs.first() <= resumed.addSecs(10));
    if (interval > 1 && suspendMinutes / interval > 6)
        QVERIFY(runs.value(1) <= runs.first().addSecs(60));
}

void TstScheduler::savedIntervalKeepsComputedDueTime()
{
    Rig r(at(2026, 1, 15, 12, 0));
    r.config.UploadInterval = 10;
    r.clock.advanceSeconds(20);
    QCOMPARE(r.scheduler.state().NextUploadTime, at(2026, 1, 15, 12, 10, 20));
    r.config.UploadInterval = 1; // the setup dialog saved
    r.clock.advanceSeconds(10 * 60 + 10);
    QCOMPARE(r.jobs.times("publish"), QList<QDateTime>{at(2026, 1, 15, 12, 10, 30)});
    QCOMPARE(r.scheduler.state().NextUploadTime, at(2026, 1, 15, 12, 11, 20));
    r.config.UploadInterval = 0; // switched off: nothing more, at once
    r.clock.advanceSeconds(600);
    QCOMPARE(r.jobs.times("publish").size(), 1);
}

void TstScheduler::monthDatabaseOnEveryTickEvenWithLoggingOff()
{
    Rig r(at(2026, 1, 31, 23, 59, 45));
    r.config.LoggingInterval = 0;
    r.clock.advanceSeconds(20);
    // The first tick of a new month asks for the new month's file.
    QCOMPARE(r.jobs.monthDates, QList<QDate>{QDate(2026, 2, 1)});
    r.clock.advanceSeconds(30);
    QCOMPARE(r.jobs.monthDates.size(), 4);
    QCOMPARE(r.jobs.times("log").size(), 0);
}

void TstScheduler::pagerChecksOnlyWhenARowIsEnabled_data()
{
    QTest::addColumn<QVariant>("enabled");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("runs");
    QTest::newRow("1 in the first row") << QVariant(1) << 0 << true;
    QTest::newRow("1 in the last row") << QVariant(1) << 4 << true;
    QTest::newRow("numeric text") << QVariant(QStringLiteral(" 1 ")) << 2 << true;
    QTest::newRow("1.0") << QVariant(1.0) << 1 << true;
    QTest::newRow("0") << QVariant(0) << 0 << false;
    QTest::newRow("empty") << QVariant() << 0 << false;
    QTest::newRow("2") << QVariant(2) << 0 << false;
    QTest::newRow("text") << QVariant(QStringLiteral("yes")) << 0 << false;
}

void TstScheduler::pagerChecksOnlyWhenARowIsEnabled()
{
    QFETCH(QVariant, enabled);
    QFETCH(int, row);
    QFETCH(bool, runs);
    Rig r(at(2026, 1, 15, 12, 0));
    r.config.Pagers[size_t(row)].Enabled = enabled;
    r.clock.advanceSeconds(45); // three ticks
    QCOMPARE(r.jobs.times("pagers").size(), runs ? 3 : 0);
}

void TstScheduler::pagerFlagsClearedEveryQuarterHour_data()
{
    QTest::addColumn<int>("setAtMinute");
    QTest::addColumn<int>("clearedAtMinute");
    QTest::newRow("hourly page at :00") << 0 << 5;
    QTest::newRow(":06 waits for :20") << 6 << 20;
    QTest::newRow(":34") << 34 << 35;
    QTest::newRow(":36") << 36 << 50;
    QTest::newRow(":51 waits for :05 of the next hour") << 51 << 65;
}

void TstScheduler::pagerFlagsClearedEveryQuarterHour()
{
    QFETCH(int, setAtMinute);
    QFETCH(int, clearedAtMinute);
    const QDateTime start = at(2026, 1, 15, 9, 59, 40);
    Rig r(start); // ticks on every whole 10 s from 10:00:00
    r.config.Pagers[3].Enabled = 1;
    const QDateTime setAt = at(2026, 1, 15, 10, 0).addSecs(setAtMinute * 60);
    // The pager checks set the flags (before paging) once, at `setAt`.
    r.jobs.pagerWork = [&] {
        if (r.clock.now() == setAt) {
            PagerFlags &f = r.scheduler.pagerFlags();
            f.HourlyPageSent[0] = true;
            f.DailyPageSent[3] = true;
            f.AlarmPageSent[4] = true;
        }
    };
    r.clock.advanceSeconds(start.secsTo(setAt));
    QVERIFY(r.scheduler.pagerFlags().HourlyPageSent[0]);
    const QDateTime clearAt = at(2026, 1, 15, 10, 0).addSecs(clearedAtMinute * 60);
    r.clock.advanceSeconds(setAt.secsTo(clearAt) - 10);
    const PagerFlags &f = r.scheduler.pagerFlags();
    QVERIFY(f.HourlyPageSent[0] && f.DailyPageSent[3] && f.AlarmPageSent[4]);
    r.clock.advanceSeconds(10);
    QVERIFY(!f.HourlyPageSent[0] && !f.DailyPageSent[3] && !f.AlarmPageSent[4]);
}

void TstScheduler::dailyGraphs_data()
{
    QTest::addColumn<QVariant>("graphTime");
    QTest::addColumn<QVariant>("uploadGraphs");
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<QList<QDateTime>>("runs");
    const QVariant on(1);
    // Two days of ticks from `start`; ticks fall on whole 10 s.
    QTest::newRow("08:05 runs once a day")
        << QVariant(at(2001, 1, 1, 8, 5)) << on << at(2026, 3, 1, 7, 59, 40)
        << QList<QDateTime>{at(2026, 3, 1, 8, 5), at(2026, 3, 2, 8, 5)};
    QTest::newRow("23:30 clears after midnight")
        << QVariant(at(2001, 1, 1, 23, 30, 45)) << on << at(2026, 3, 1, 7, 59, 40)
        << QList<QDateTime>{at(2026, 3, 1, 23, 30), at(2026, 3, 2, 23, 30)};
    QTest::newRow("time as text") << QVariant(QStringLiteral("6:15:00 PM"))
                                  << QVariant(QStringLiteral("1")) << at(2026, 3, 1, 7, 59, 40)
                                  << QList<QDateTime>{at(2026, 3, 1, 18, 15),
                                                      at(2026, 3, 2, 18, 15)};
    QTest::newRow("graphs off") << QVariant(at(2001, 1, 1, 8, 5)) << QVariant(0)
                                << at(2026, 3, 1, 7, 59, 40) << QList<QDateTime>{};
    QTest::newRow("empty time is midnight")
        << QVariant() << on << at(2026, 3, 1, 7, 59, 40)
        << QList<QDateTime>{at(2026, 3, 2, 0, 0), at(2026, 3, 3, 0, 0)};
    QTest::newRow("unreadable time never runs") << QVariant(QStringLiteral("soon")) << on
                                                << at(2026, 3, 1, 7, 59, 40) << QList<QDateTime>{};
}

void TstScheduler::dailyGraphs()
{
    QFETCH(QVariant, graphTime);
    QFETCH(QVariant, uploadGraphs);
    QFETCH(QDateTime, start);
    QFETCH(QList<QDateTime>, runs);
    Rig r(start);
    r.config.Graph[GraphUploadTime] = graphTime;
    r.config.Graph[UploadGraphs] = uploadGraphs;
    r.clock.advanceSeconds(2 * 86400);
    QCOMPARE(r.jobs.times("graphs"), runs);
}

void TstScheduler::nestedTickDoesNotRerunARunningJob_data()
{
    QTest::addColumn<QString>("job");
    QTest::addColumn<double>("waits");
    QTest::addColumn<int>("expectedRuns");
    // Every job lets events run for longer than the ticks come, so ticks nest inside it.
    QTest::newRow("publishing every minute waits 95 s") << "publish" << 95.0 << 10;
    QTest::newRow("logging every minute waits 75 s") << "log" << 75.0 << 10;
    QTest::newRow("pager checks wait 25 s") << "pagers" << 25.0 << -1;
    QTest::newRow("graph run waits 30 min") << "graphs" << 1800.0 << 1;
}

void TstScheduler::nestedTickDoesNotRerunARunningJob()
{
    QFETCH(QString, job);
    QFETCH(double, waits);
    QFETCH(int, expectedRuns);
    Rig r(at(2026, 1, 15, 8, 0, 40)); // ticks on whole 10 s from 08:01:00
    r.config.UploadInterval = 1;
    r.config.LoggingInterval = 1;
    r.config.Pagers[0].Enabled = 1;
    r.config.Graph[GraphUploadTime] = at(2001, 1, 1, 8, 5);
    r.config.Graph[UploadGraphs] = 1;
    r.jobs.waitSeconds[job] = waits;
    r.clock.advanceSeconds(20 * 60);

    QCOMPARE(r.jobs.mostAtOnce.value(job), 1);
    const QList<QDateTime> runs = r.jobs.times(job);
    if (expectedRuns >= 0) {
        // A job held up by its own long run catches up afterwards, once per minute.
        QVERIFY(runs.size() >= expectedRuns);
    }
    // The other jobs keep running inside the long one.
    const QStringList others = {"publish", "log", "pagers"};
    for (const QString &other : others) {
        if (other != job)
            QVERIFY2(r.jobs.startedDuring.value(other).contains(job), qPrintable(other));
    }
    QCOMPARE(r.jobs.times("graphs").size(), 1);
}

void TstScheduler::failingStepDoesNotStopTheOthers()
{
    Rig r(at(2026, 1, 15, 12, 0, 40));
    r.config.UploadInterval = 1;
    r.config.LoggingInterval = 1;
    r.config.Pagers[2].Enabled = 1;
    r.jobs.throws["publish"] = true;
    r.jobs.throws["log"] = true;
    r.clock.advanceSeconds(3 * 60);
    QVERIFY(r.jobs.times("publish").size() >= 2);
    QVERIFY(r.jobs.times("log").size() >= 2);
    // Every tick reached the pager checks and kept Timer1 going.
    QCOMPARE(r.jobs.times("pagers").size(), r.jobs.monthDates.size());
    QCOMPARE(r.jobs.monthDates.size(), 17);
    QVERIFY(!r.scheduler.inTick());
}

QTEST_GUILESS_MAIN(TstScheduler)
#include "tst_scheduler.moc"
