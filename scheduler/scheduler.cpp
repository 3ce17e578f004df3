// The tick of Timer1, the due rules of the unattended jobs and the life of their runs.
#include "scheduler/scheduler.h"

#include "config/configuration.h"
#include "config/variantvalue.h"
#include "core/clock.h"
#include "scheduler/graphtime.h"

#include <exception>
#include <functional>

namespace {

// Runs one step of a tick so that its failure cannot keep the other steps from running.
void isolated(const char *step, const std::function<void()> &work)
{
    try {
        work();
    } catch (const std::exception &e) {
        qWarning("corvane: %s failed: %s", step, e.what());
    } catch (...) {
        qWarning("corvane: %s failed", step);
    }
}

// Each job in the order of ScheduledJob: how the status texts name it and one run of it,
// and its longest run.
struct JobTraits
{
    ScheduledJob job;
    const char *name;
    const char *run;
    int maxMs;
};

constexpr JobTraits AllJobs[] = {
    {ScheduledJob::Publishing, "Publishing", "pass", Scheduler::PublishingMaxMs},
    {ScheduledJob::Logging, "Database Logging", "pass", Scheduler::LoggingMaxMs},
    {ScheduledJob::Paging, "Pager checks", "check", Scheduler::PagingMaxMs},
    {ScheduledJob::Graphs, "Daily graphs", "run", Scheduler::GraphsMaxMs},
};

const JobTraits &traits(ScheduledJob job)
{
    return AllJobs[size_t(job)];
}

QString minutesText(int ms)
{
    const int minutes = ms / 60000;
    return minutes == 1 ? QStringLiteral("1 minute") : QStringLiteral("%1 minutes").arg(minutes);
}

constexpr int MinutesPerDay = 24 * 60;

// The clock minute `t` falls in, as the instant it began. Zone offsets are whole minutes, so
// this is the local minute too, and the two 02:30 of the autumn change are different minutes.
QDateTime clockMinute(const QDateTime &t)
{
    const qint64 intoMinute = t.toMSecsSinceEpoch() % 60000;
    return t.addMSecs(-(intoMinute < 0 ? intoMinute + 60000 : intoMinute));
}

} // namespace

int Scheduler::maxRunMs(ScheduledJob job)
{
    return traits(job).maxMs;
}

Scheduler::Scheduler(Clock &clock, const Configuration &config, ScheduledJobs &jobs,
                     QObject *parent)
    : QObject(parent), m_clock(clock), m_config(config), m_jobs(jobs),
      m_firstTick(clock.createTimer(this)), m_timer1(clock.createTimer(this))
{
    // The design-time 20 s only delays the first tick; from there Timer1 repeats every
    // 10 s on its own.
    m_firstTick->setSingleShot(true);
    m_firstTick->setInterval(FirstTickMs);
    connect(m_firstTick.get(), &ClockTimer::timeout, this, [this] {
        m_timer1->start();
        tick();
    });
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(TickMs);
    connect(m_timer1.get(), &ClockTimer::timeout, this, &Scheduler::tick);
}

Scheduler::~Scheduler() = default;

void Scheduler::start()
{
    m_timer1->stop();
    m_previousTick = QDateTime();
    m_firstTick->start();
}

void Scheduler::stop()
{
    m_firstTick->stop();
    m_timer1->stop();
}

bool Scheduler::isRunning() const
{
    return m_firstTick->isActive() || m_timer1->isActive();
}

void Scheduler::windDown()
{
    stop();
    for (ScheduledJob job :
         {ScheduledJob::Publishing, ScheduledJob::Paging, ScheduledJob::Graphs}) {
        if (Job *run = slot(job).run.get())
            run->abandon();
    }
}

void Scheduler::discardRun(ScheduledJob job)
{
    Slot &s = slot(job);
    if (s.run)
        s.run->abandon();
    s.run.reset();
}

bool Scheduler::isRunning(ScheduledJob job) const
{
    const Slot &s = slot(job);
    return s.run && s.run->isRunning();
}

bool Scheduler::isBusy() const
{
    for (const Slot &s : m_slots) {
        if (s.run && s.run->isRunning())
            return true;
    }
    return false;
}

void Scheduler::tick()
{
    // Overruns first: a run abandoned here may start afresh on this very tick.
    for (const JobTraits &t : AllJobs) {
        if (isRunning(t.job) && m_clock.monotonicMs() - slot(t.job).startedMs >= t.maxMs)
            overran(t.job);
    }
    isolated("month database", [this] { m_jobs.createMonthDatabase(m_clock.now().date()); });
    isolated("publishing", [this] { publishingStep(); });
    isolated("logging", [this] { loggingStep(); });
    isolated("pager checks", [this] { pagerStep(); });
    isolated("pager flags", [this] { quarterHourStep(); });
    isolated("daily graphs", [this] { graphStep(); });
    m_previousTick = m_clock.now();
}

bool Scheduler::wouldRun(qint16 interval, const QDateTime &next, const QDateTime &lastMinute) const
{
    const QDateTime now = m_clock.now();
    return interval > 0 && next.isValid() && next < now && clockMinute(now) != lastMinute;
}

bool Scheduler::due(qint16 interval, QDateTime &next, QDateTime &lastMinute)
{
    if (interval <= 0)
        return false;
    const QDateTime now = m_clock.now();
    if (next.isValid() && !(next < now))
        return false;
    const qint64 step = qint64(interval) * 60;
    if (!next.isValid()) {
        // The first pass comes one whole interval after the first tick.
        next = now.addSecs(step);
        return false;
    }
    const QDateTime minute = clockMinute(now);
    if (minute == lastMinute) {
        // At most one pass per clock minute. The pass owed keeps its due time and runs on
        // the first tick of the next minute; only a due time that a later one, also passed,
        // stands in for is let go, so that a backlog still shrinks by one interval a tick.
        if (next.addSecs(step) < now)
            next = next.addSecs(step);
        return false;
    }
    // Advanced from its old value, so a due time left behind fires again on later ticks,
    // once per clock minute, until it has caught up. Due times are instants, so a change of
    // summer time neither loses nor repeats an interval.
    next = next.addSecs(step);
    lastMinute = minute;
    return true;
}

void Scheduler::publishingStep()
{
    // While a pass runs its rule is left alone: the due time stays where it is, and the
    // catch-up rule brings the pass on the first tick after the run has ended.
    if (isRunning(ScheduledJob::Publishing)) {
        if (wouldRun(m_config.UploadInterval, m_state.NextUploadTime, m_state.LastUploadMinute))
            reportSkip(ScheduledJob::Publishing);
        return;
    }
    if (due(m_config.UploadInterval, m_state.NextUploadTime, m_state.LastUploadMinute))
        startRun(ScheduledJob::Publishing);
}

void Scheduler::loggingStep()
{
    if (isRunning(ScheduledJob::Logging)) {
        if (wouldRun(m_config.LoggingInterval, m_state.NextLogTime, m_state.LastLogMinute))
            reportSkip(ScheduledJob::Logging);
        return;
    }
    if (due(m_config.LoggingInterval, m_state.NextLogTime, m_state.LastLogMinute))
        startRun(ScheduledJob::Logging);
}

bool Scheduler::anyPagerEnabled() const
{
    for (const PagerRow &row : m_config.Pagers) {
        if (variantEquals(row.Enabled, 1))
            return true;
    }
    return false;
}

void Scheduler::pagerStep()
{
    if (!anyPagerEnabled())
        return;
    if (isRunning(ScheduledJob::Paging)) {
        reportSkip(ScheduledJob::Paging);
        return;
    }
    startRun(ScheduledJob::Paging);
}

void Scheduler::quarterHourStep()
{
    const int minute = m_clock.now().time().minute();
    if (minute == 5 || minute == 20 || minute == 35 || minute == 50)
        m_jobs.clearPageSentFlags();
}

// Whether this tick stands for the local minute `minute` of the day: its own minute, or
// one that the wall clock jumped over since the previous tick when summer time began.
bool Scheduler::tickReaches(int minute) const
{
    const QDateTime now = m_clock.now();
    const int nowMinute = minuteOfDay(now.time());
    if (nowMinute == minute)
        return true;
    if (!m_previousTick.isValid() || now.offsetFromUtc() <= m_previousTick.offsetFromUtc())
        return false;
    const int from = minuteOfDay(m_previousTick.time());
    const int jumped = (nowMinute - from + MinutesPerDay) % MinutesPerDay;
    const int ahead = (minute - from + MinutesPerDay) % MinutesPerDay;
    return ahead > 0 && ahead < jumped;
}

void Scheduler::graphStep()
{
    const std::optional<QTime> graphTime = graphTimeOfDay(m_config.Graph[GraphUploadTime]);
    if (!graphTime)
        return;
    const int graphMinute = minuteOfDay(*graphTime);
    if (tickReaches(graphMinute) && variantEquals(m_config.Graph[UploadGraphs], 1) &&
        !m_state.GraphRunDone) {
        if (isRunning(ScheduledJob::Graphs)) {
            reportSkip(ScheduledJob::Graphs);
            return;
        }
        m_state.GraphRunDone = true;
        startRun(ScheduledJob::Graphs);
        return; // the graph run is the last step of a tick
    }
    // One hour later the flag is cleared for the next day; after 23:00 that hour is
    // early the next morning.
    if (tickReaches((graphMinute + 60) % MinutesPerDay))
        m_state.GraphRunDone = false;
}

void Scheduler::startRun(ScheduledJob job)
{
    std::unique_ptr<Job> run = m_jobs.newRun(job);
    if (!run)
        return;
    Slot &s = slot(job);
    s.run = std::move(run); // the previous run has ended: it is not inside a call now
    s.skipReported = false;
    s.startedMs = m_clock.monotonicMs();
    connect(s.run.get(), &Job::finished, this, [this] {
        if (!isBusy())
            emit idle();
    });
    s.run->start();
}

void Scheduler::reportSkip(ScheduledJob job)
{
    Slot &s = slot(job);
    if (s.skipReported)
        return;
    s.skipReported = true;
    const JobTraits &t = traits(job);
    emit skipped(job, QStringLiteral("Corvane : %1 skipped, the previous %2 is still running")
                          .arg(QLatin1String(t.name), QLatin1String(t.run)));
}

void Scheduler::overran(ScheduledJob job)
{
    slot(job).run->abandon();
    const JobTraits &t = traits(job);
    emit abandoned(job,
                   QStringLiteral("Corvane : %1 abandoned, the %2 took longer than %3")
                       .arg(QLatin1String(t.name), QLatin1String(t.run), minutesText(t.maxMs)));
    if (!isBusy())
        emit idle();
}
