// Every calling rule of Timer1, proven with recording jobs on a manual clock.
#include "config/configuration.h"
#include "fakes/manualclock.h"
#include "scheduler/recordingjobs.h"
#include "scheduler/scheduler.h"

#include <QRandomGenerator>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QtTest>

#include <ctime>

namespace {

QDateTime at(int y, int mo, int d, int h, int mi, int s = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

struct Rig
{
    explicit Rig(const QDateTime &start) : clock(start), jobs(clock), scheduler(clock, config, jobs)
    {
        scheduler.start();
    }
    ManualClock clock;
    Configuration config;
    RecordingJobs jobs;
    Scheduler scheduler;
};

enum class DueJob { Publishing, Logging };

QString jobName(DueJob j)
{
    return j == DueJob::Publishing ? QStringLiteral("publish") : QStringLiteral("log");
}

void setInterval(Configuration &c, DueJob j, qint16 minutes)
{
    (j == DueJob::Publishing ? c.UploadInterval : c.LoggingInterval) = minutes;
}

QDateTime nextDue(const Scheduler &s, DueJob j)
{
    return j == DueJob::Publishing ? s.state().NextUploadTime : s.state().NextLogTime;
}

// Every job due from 08:01 on: publishing and logging every minute, a pager row, the
// graph run at 08:05.
void everyJobOn(Configuration &c)
{
    c.UploadInterval = 1;
    c.LoggingInterval = 1;
    c.Pagers[0].Enabled = 1;
    c.Graph[GraphUploadTime] = at(2001, 1, 1, 8, 5);
    c.Graph[UploadGraphs] = 1;
}

void setTimeZone(const QByteArray &tz)
{
    if (tz.isEmpty())
        qunsetenv("TZ");
    else
        qputenv("TZ", tz);
    tzset();
}

} // namespace

Q_DECLARE_METATYPE(DueJob)

class TstScheduler : public QObject
{
    Q_OBJECT
private slots:
    void timer1FirstTickAfter20sThenEvery10s();
    void nonPositiveIntervalNeverRuns_data();
    void nonPositiveIntervalNeverRuns();
    void firstRunOneIntervalAfterFirstTick_data();
    void firstRunOneIntervalAfterFirstTick();
    void firstPassInMinuteZeroRuns_data();
    void firstPassInMinuteZeroRuns();
    void lateTicksLoseNoPass_data();
    void lateTicksLoseNoPass();
    void catchUpAfterSuspendAtMostOncePerMinute_data();
    void catchUpAfterSuspendAtMostOncePerMinute();
    void savedIntervalKeepsComputedDueTime();
    void monthDatabaseOnEveryTickEvenWithLoggingOff();
    void pagerChecksOnlyWhenARowIsEnabled_data();
    void pagerChecksOnlyWhenARowIsEnabled();
    void pageSentFlagsClearedInTheQuarterHourMinutes();
    void dailyGraphs_data();
    void dailyGraphs();
    void timer1TicksOnWhileAJobRuns_data();
    void timer1TicksOnWhileAJobRuns();
    void runningJobIsSkippedNotStartedAgain_data();
    void runningJobIsSkippedNotStartedAgain();
    void overrunningJobIsAbandoned_data();
    void overrunningJobIsAbandoned();
    void summerTimeChanges_data();
    void summerTimeChanges();
    void failingStepDoesNotStopTheOthers();

private:
    QByteArray m_savedTz = qgetenv("TZ");
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
    QTest::addColumn<DueJob>("job");
    QTest::addColumn<int>("interval");
    QTest::newRow("publishing 0") << DueJob::Publishing << 0;
    QTest::newRow("publishing -5") << DueJob::Publishing << -5;
    QTest::newRow("logging 0") << DueJob::Logging << 0;
    QTest::newRow("logging -1") << DueJob::Logging << -1;
}

void TstScheduler::nonPositiveIntervalNeverRuns()
{
    QFETCH(DueJob, job);
    QFETCH(int, interval);
    Rig r(at(2026, 1, 15, 12, 0));
    setInterval(r.config, job, qint16(interval));
    r.clock.advanceSeconds(3 * 3600);
    QCOMPARE(r.jobs.times(jobName(job)).size(), 0);
    QVERIFY(!nextDue(r.scheduler, job).isValid());
}

void TstScheduler::firstRunOneIntervalAfterFirstTick_data()
{
    QTest::addColumn<DueJob>("job");
    QTest::addColumn<int>("interval");
    QTest::addColumn<QDateTime>("firstRun");
    QTest::addColumn<QDateTime>("secondRun");
    // First tick 12:00:20 sets the due time to 12:00:20 + interval; a due time must be
    // passed, so the tick at that very second does not fire, the next one does.
    QTest::newRow("publishing every 5")
        << DueJob::Publishing << 5 << at(2026, 1, 15, 12, 5, 30) << at(2026, 1, 15, 12, 10, 30);
    QTest::newRow("logging every 1")
        << DueJob::Logging << 1 << at(2026, 1, 15, 12, 1, 30) << at(2026, 1, 15, 12, 2, 30);
    QTest::newRow("logging every 15")
        << DueJob::Logging << 15 << at(2026, 1, 15, 12, 15, 30) << at(2026, 1, 15, 12, 30, 30);
}

void TstScheduler::firstRunOneIntervalAfterFirstTick()
{
    QFETCH(DueJob, job);
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

void TstScheduler::firstPassInMinuteZeroRuns_data()
{
    QTest::addColumn<DueJob>("job");
    QTest::newRow("publishing") << DueJob::Publishing;
    QTest::newRow("logging") << DueJob::Logging;
}

void TstScheduler::firstPassInMinuteZeroRuns()
{
    QFETCH(DueJob, job);
    // Started 11:58: the first due time 12:00:20 falls in minute 0 of the hour, and no pass
    // has run in any minute yet.
    Rig r(at(2026, 1, 15, 11, 58));
    setInterval(r.config, job, 2);
    r.clock.advanceSeconds(20 + 4 * 60 + 10); // through the 12:02:30 tick
    QCOMPARE(r.jobs.times(jobName(job)),
             (QList<QDateTime>{at(2026, 1, 15, 12, 0, 30), at(2026, 1, 15, 12, 2, 30)}));
}

void TstScheduler::lateTicksLoseNoPass_data()
{
    QTest::addColumn<DueJob>("job");
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("hours");
    QTest::newRow("logging every minute") << DueJob::Logging << 1 << 1;
    QTest::newRow("publishing every minute") << DueJob::Publishing << 1 << 1;
    QTest::newRow("logging every 60 minutes") << DueJob::Logging << 60 << 4;
}

// Timer1's real ticks come a few milliseconds late, by varying amounts, so a tick at a due
// time sometimes sees it passed and sometimes not; the manual clock's timers are never late,
// so the ticks are run by hand here. Started at 11:59 and every second of the minute, so the
// first pass also meets minute 0.
void TstScheduler::lateTicksLoseNoPass()
{
    QFETCH(DueJob, job);
    QFETCH(int, interval);
    QFETCH(int, hours);
    // A zone named outright also spares a look at the system's zone file on every reading of
    // the clock, which would make this test many times slower.
    setTimeZone("Europe/Berlin");
    const auto restore = qScopeGuard([this] { setTimeZone(m_savedTz); });
    QStringList wrong;
    for (int second = 0; second < 60; ++second) {
        const QDateTime start = at(2026, 1, 15, 11, 59, second);
        Rig r(start);
        r.scheduler.stop();
        setInterval(r.config, job, qint16(interval));
        QRandomGenerator lateness{quint32(second)};
        const QDateTime firstTick = start.addSecs(Scheduler::FirstTickMs / 1000);
        // Through the tick that takes the last due time, before the one after it.
        const QDateTime end = firstTick.addSecs(hours * 3600 + 30);
        for (QDateTime t = firstTick; t <= end; t = t.addSecs(Scheduler::TickMs / 1000)) {
            r.clock.advanceTo(t.addMSecs(lateness.bounded(50)));
            r.scheduler.tick();
        }
        const QList<QDateTime> runs = r.jobs.times(jobName(job));
        QSet<QDateTime> minutes;
        for (const QDateTime &t : runs)
            minutes.insert(t.addMSecs(-(t.toMSecsSinceEpoch() % 60000)));
        // Every due time gives a run, and no clock minute more than one.
        if (runs.size() != hours * 60 / interval || minutes.size() != runs.size())
            wrong << QStringLiteral("second %1: %2 runs in %3 minutes")
                         .arg(second)
                         .arg(runs.size())
                         .arg(minutes.size());
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral("; "))));
}

void TstScheduler::catchUpAfterSuspendAtMostOncePerMinute_data()
{
    QTest::addColumn<DueJob>("job");
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("suspendMinutes");
    QTest::newRow("publishing every 2, one hour away") << DueJob::Publishing << 2 << 60;
    QTest::newRow("logging every 1, half an hour away") << DueJob::Logging << 1 << 30;
    QTest::newRow("logging every 10, two hours away") << DueJob::Logging << 10 << 120;
}

void TstScheduler::catchUpAfterSuspendAtMostOncePerMinute()
{
    QFETCH(DueJob, job);
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

void TstScheduler::pageSentFlagsClearedInTheQuarterHourMinutes()
{
    Rig r(at(2026, 1, 15, 9, 59, 40)); // ticks on every whole 10 s from 10:00:00
    r.clock.advanceTo(at(2026, 1, 15, 11, 0));
    // Every tick of minutes 5, 20, 35 and 50 clears, pager rows enabled or not.
    QCOMPARE(r.jobs.flagClears.size(), 4 * 6);
    for (const QDateTime &t : std::as_const(r.jobs.flagClears))
        QVERIFY2(QList<int>({5, 20, 35, 50}).contains(t.time().minute()), qPrintable(t.toString()));
    QCOMPARE(r.jobs.flagClears.first(), at(2026, 1, 15, 10, 5));
    QCOMPARE(r.jobs.flagClears.last(), at(2026, 1, 15, 10, 50, 50));
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
    // A hand-edited file gives a time as a number of days: the fraction is the time of day.
    QTest::newRow("number 0.5 is noon")
        << QVariant(0.5) << on << at(2026, 3, 1, 7, 59, 40)
        << QList<QDateTime>{at(2026, 3, 1, 12, 0), at(2026, 3, 2, 12, 0)};
    QTest::newRow("numeric text of a date and 18:30")
        << QVariant(QStringLiteral("46082.7708333333")) << on << at(2026, 3, 1, 7, 59, 40)
        << QList<QDateTime>{at(2026, 3, 1, 18, 30), at(2026, 3, 2, 18, 30)};
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

void TstScheduler::timer1TicksOnWhileAJobRuns_data()
{
    QTest::addColumn<QString>("job");
    QTest::addColumn<int>("seconds");
    QTest::newRow("graph run of 10 minutes") << "graphs" << 600;
    QTest::newRow("pager check of 10 minutes") << "pagers" << 600;
    QTest::newRow("publishing pass of 4 minutes") << "publish" << 240;
}

void TstScheduler::timer1TicksOnWhileAJobRuns()
{
    QFETCH(QString, job);
    QFETCH(int, seconds);
    Rig r(at(2026, 1, 15, 8, 0, 40)); // ticks on whole 10 s from 08:01:00
    everyJobOn(r.config);
    r.jobs.durationMs[job] = seconds * 1000;
    r.clock.advanceTo(at(2026, 1, 15, 8, 20, 40));

    // Ticks every 10 s, however long the job takes.
    QCOMPARE(r.jobs.ticks.size(), 119);
    for (int i = 0; i < r.jobs.ticks.size(); ++i)
        QCOMPARE(r.jobs.ticks[i], at(2026, 1, 15, 8, 1).addSecs(10 * i));
    // The long job ran, one run at a time, for its whole length.
    QCOMPARE(r.jobs.mostAtOnce.value(job), 1);
    QVERIFY(r.jobs.abandonedAt.value(job).isEmpty());
    const QList<QDateTime> runs = r.jobs.times(job);
    QVERIFY(!runs.isEmpty());
    if (runs.size() > 1)
        QVERIFY(runs[0].secsTo(runs[1]) >= seconds);
    // Logging, publishing and the pager checks went on while it ran.
    for (const char *other : {"log", "publish", "pagers"}) {
        if (other != job)
            QVERIFY2(r.jobs.startedDuring.value(other).contains(job), qPrintable(other));
    }
    if (job == "graphs") {
        // Ten logging passes, one a minute, and a pager check on every tick of the run.
        int logs = 0;
        int checks = 0;
        for (const RecordingJobs::Call &c : std::as_const(r.jobs.calls)) {
            const bool during = c.at >= runs[0] && c.at < runs[0].addSecs(seconds);
            logs += during && c.job == "log";
            checks += during && c.job == "pagers";
        }
        QCOMPARE(logs, 10);
        QCOMPARE(checks, 60);
    }
    QCOMPARE(r.jobs.times("graphs").size(), 1);
}

void TstScheduler::runningJobIsSkippedNotStartedAgain_data()
{
    QTest::addColumn<QString>("job");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QDateTime>("firstRun");
    QTest::addColumn<QDateTime>("skippedAt");
    QTest::addColumn<QDateTime>("secondRun");
    QTest::addColumn<QString>("text");
    // Publishing every minute: due at 08:03:00, seen at 08:03:10 while the first pass runs
    // until 08:04:40; the due time is left alone, so the pass comes on the next tick.
    QTest::newRow("publishing pass of 150 s")
        << "publish" << 150 << at(2026, 1, 15, 8, 2, 10) << at(2026, 1, 15, 8, 3, 10)
        << at(2026, 1, 15, 8, 4, 50)
        << "Corvane : Publishing skipped, the previous pass is still running";
    QTest::newRow("pager check of 25 s")
        << "pagers" << 25 << at(2026, 1, 15, 8, 1) << at(2026, 1, 15, 8, 1, 10)
        << at(2026, 1, 15, 8, 1, 30)
        << "Corvane : Pager checks skipped, the previous check is still running";
}

void TstScheduler::runningJobIsSkippedNotStartedAgain()
{
    QFETCH(QString, job);
    QFETCH(int, seconds);
    QFETCH(QDateTime, firstRun);
    QFETCH(QDateTime, skippedAt);
    QFETCH(QDateTime, secondRun);
    QFETCH(QString, text);
    Rig r(at(2026, 1, 15, 8, 0, 40));
    r.config.UploadInterval = 1;
    r.config.Pagers[0].Enabled = 1;
    r.jobs.durationMs[job] = seconds * 1000;
    QList<QDateTime> skips;
    QList<QDateTime> dueWhenSkipped;
    QSignalSpy skipped(&r.scheduler, &Scheduler::skipped);
    connect(&r.scheduler, &Scheduler::skipped, this, [&] {
        skips << r.clock.now();
        dueWhenSkipped << r.scheduler.state().NextUploadTime;
    });
    r.clock.advanceTo(secondRun);

    const QList<QDateTime> runs = r.jobs.times(job);
    QCOMPARE(runs, (QList<QDateTime>{firstRun, secondRun}));
    QCOMPARE(r.jobs.mostAtOnce.value(job), 1);
    // One skip for the first run, however many ticks it saw.
    QCOMPARE(skips, QList<QDateTime>{skippedAt});
    QCOMPARE(skipped[0][0].value<ScheduledJob>(),
             job == "publish" ? ScheduledJob::Publishing : ScheduledJob::Paging);
    QCOMPARE(skipped[0][1].toString(), text);
    if (job == "publish")
        QCOMPARE(dueWhenSkipped.first(), at(2026, 1, 15, 8, 3)); // not advanced by the skip
}

void TstScheduler::overrunningJobIsAbandoned_data()
{
    QTest::addColumn<ScheduledJob>("job");
    QTest::addColumn<QDateTime>("firstRun");
    QTest::addColumn<bool>("runsAgain");
    QTest::addColumn<QString>("text");
    QTest::newRow("publishing") << ScheduledJob::Publishing << at(2026, 1, 15, 8, 2, 10) << true
                                << "Corvane : Publishing abandoned, the pass took longer than 5 "
                                   "minutes";
    QTest::newRow("logging") << ScheduledJob::Logging << at(2026, 1, 15, 8, 2, 10) << true
                             << "Corvane : Database Logging abandoned, the pass took longer than "
                                "1 minute";
    QTest::newRow("pager checks")
        << ScheduledJob::Paging << at(2026, 1, 15, 8, 1) << true
        << "Corvane : Pager checks abandoned, the check took longer than 20 minutes";
    QTest::newRow("daily graphs")
        << ScheduledJob::Graphs << at(2026, 1, 15, 8, 5) << false
        << "Corvane : Daily graphs abandoned, the run took longer than 20 minutes";
}

void TstScheduler::overrunningJobIsAbandoned()
{
    QFETCH(ScheduledJob, job);
    QFETCH(QDateTime, firstRun);
    QFETCH(bool, runsAgain);
    QFETCH(QString, text);
    Rig r(at(2026, 1, 15, 8, 0, 40));
    everyJobOn(r.config);
    const QString name = RecordingJobs::name(job);
    r.jobs.durationMs[name] = -1; // stuck: never finishes on its own
    QSignalSpy abandoned(&r.scheduler, &Scheduler::abandoned);
    const QDateTime limit = firstRun.addMSecs(Scheduler::maxRunMs(job));
    r.clock.advanceTo(limit.addSecs(-10));
    QVERIFY(r.scheduler.isRunning(job));
    QCOMPARE(abandoned.size(), 0);

    r.clock.advanceSeconds(10);
    QCOMPARE(r.jobs.abandonedAt.value(name), QList<QDateTime>{limit});
    QCOMPARE(abandoned.size(), 1);
    QCOMPARE(abandoned[0][0].value<ScheduledJob>(), job);
    QCOMPARE(abandoned[0][1].toString(), text);
    // The job is free again: a job that is due starts afresh on the same tick.
    const QList<QDateTime> runs = r.jobs.times(name);
    QCOMPARE(runs.first(), firstRun);
    QCOMPARE(runs.size(), runsAgain ? 2 : 1);
    if (runsAgain)
        QCOMPARE(runs.last(), limit);
    QCOMPARE(r.jobs.mostAtOnce.value(name), 1);
}

void TstScheduler::summerTimeChanges_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QDateTime>("start"); // local time, two days are run from here
    QTest::addColumn<QTime>("graphTime");
    QTest::addColumn<QList<QDateTime>>("graphRuns"); // UTC
    const auto utc = [](int mo, int d, int h, int mi) {
        return QDateTime(QDate(2026, mo, d), QTime(h, mi), Qt::UTC);
    };
    // Europe: 29 March 02:00 CET becomes 03:00 CEST; 25 October 03:00 CEST becomes 02:00 CET.
    // A graph time in the hour that is skipped runs when the clock jumps over it.
    QTest::newRow("Europe spring, graph in the skipped hour")
        << QByteArray("Europe/Berlin") << at(2026, 3, 28, 12, 0) << QTime(2, 30)
        << QList<QDateTime>{utc(3, 29, 1, 0), utc(3, 30, 0, 30)};
    // 01:30 runs; its clearing minute 02:30 is skipped, and comes with the jump.
    QTest::newRow("Europe spring, clearing in the skipped hour")
        << QByteArray("Europe/Berlin") << at(2026, 3, 28, 12, 0) << QTime(1, 30)
        << QList<QDateTime>{utc(3, 29, 0, 30), utc(3, 29, 23, 30)};
    // 02:30 comes twice; the flag, cleared only at 03:30, keeps the second from running.
    QTest::newRow("Europe autumn, graph in the repeated hour")
        << QByteArray("Europe/Berlin") << at(2026, 10, 24, 12, 0) << QTime(2, 30)
        << QList<QDateTime>{utc(10, 25, 0, 30), utc(10, 26, 1, 30)};
    // US: 8 March 02:00 EST becomes 03:00 EDT; 1 November 02:00 EDT becomes 01:00 EST.
    QTest::newRow("US spring, graph in the skipped hour")
        << QByteArray("America/New_York") << at(2026, 3, 7, 12, 0) << QTime(2, 15)
        << QList<QDateTime>{utc(3, 8, 7, 0), utc(3, 9, 6, 15)};
    QTest::newRow("US autumn, graph in the repeated hour")
        << QByteArray("America/New_York") << at(2026, 10, 31, 12, 0) << QTime(1, 30)
        << QList<QDateTime>{utc(11, 1, 5, 30), utc(11, 2, 6, 30)};
}

// Due times are instants: one-minute logging gives one pass per real minute across both
// changes, none lost in the skipped hour, none repeated in the repeated one. The graph run
// keeps to once a day.
void TstScheduler::summerTimeChanges()
{
    QFETCH(QByteArray, zone);
    QFETCH(QDateTime, start);
    QFETCH(QTime, graphTime);
    QFETCH(QList<QDateTime>, graphRuns);
    setTimeZone(zone);
    const auto restore = qScopeGuard([this] { setTimeZone(m_savedTz); });
    const QDateTime inSummer(QDate(2026, 7, 1), QTime(12, 0));
    QCOMPARE(inSummer.offsetFromUtc(), zone.startsWith("Europe") ? 7200 : -4 * 3600);
    const QDateTime startHere(start.date(), start.time()); // read in the zone just set

    Rig r(startHere);
    r.config.LoggingInterval = 1;
    r.config.Graph[GraphUploadTime] = graphTime;
    r.config.Graph[UploadGraphs] = 1;
    r.clock.advanceSeconds(2 * 86400);

    QList<QDateTime> ran;
    for (const QDateTime &t : r.jobs.times("graphs"))
        ran << t.toUTC();
    QCOMPARE(ran, graphRuns);
    const QList<QDateTime> logs = r.jobs.times("log");
    QCOMPARE(logs.size(), 2 * 24 * 60 - 1); // the first one minute after the first tick
    for (int i = 1; i < logs.size(); ++i)
        QVERIFY2(logs[i - 1].secsTo(logs[i]) == 60, qPrintable(logs[i].toString(Qt::ISODate)));
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
    QVERIFY(!r.scheduler.isBusy());
}

QTEST_GUILESS_MAIN(TstScheduler)
#include "tst_scheduler.moc"
