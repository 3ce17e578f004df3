// The tick of Timer1 and the due rules of the unattended jobs.
#include "scheduler/scheduler.h"

#include "config/configuration.h"
#include "config/variantvalue.h"
#include "core/clock.h"
#include "scheduler/graphtime.h"
#include "scheduler/logjobs.h"

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

// Marks a job as running for as long as it runs, also when it fails.
class Running
{
public:
    explicit Running(bool &flag) : m_flag(flag) { m_flag = true; }
    ~Running() { m_flag = false; }
    Running(const Running &) = delete;
    Running &operator=(const Running &) = delete;

private:
    bool &m_flag;
};

} // namespace

Scheduler::Scheduler(Clock &clock, const Configuration &config, ScheduledJobs &jobs, LogJobs &log,
                     QObject *parent)
    : QObject(parent), m_clock(clock), m_config(config), m_jobs(jobs), m_log(log),
      m_timer1(clock.createTimer(this))
{
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(FirstTickMs);
    connect(m_timer1.get(), &ClockTimer::timeout, this, &Scheduler::tick);
}

Scheduler::~Scheduler() = default;

void Scheduler::start()
{
    m_timer1->setInterval(FirstTickMs);
    m_timer1->start();
}

void Scheduler::stop()
{
    m_timer1->stop();
}

bool Scheduler::isRunning() const
{
    return m_timer1->isActive();
}

void Scheduler::tick()
{
    ++m_depth;
    // The design-time 20 s only delays the first tick.
    m_timer1->setInterval(TickMs);

    isolated("month database", [this] { m_log.createMonthDatabase(m_clock.now().date()); });
    isolated("publishing", [this] { publishingStep(); });
    isolated("logging", [this] { loggingStep(); });
    isolated("pager checks", [this] { pagerStep(); });
    isolated("pager flags", [this] { quarterHourStep(); });
    isolated("daily graphs", [this] { graphStep(); });

    if (--m_depth == 0)
        emit idle();
}

bool Scheduler::due(qint16 interval, QDateTime &next, qint16 &lastMinute)
{
    if (interval <= 0)
        return false;
    const QDateTime now = m_clock.now();
    if (next.isValid() && !(next < now))
        return false;
    if (!next.isValid()) {
        // The first pass comes one whole interval after the first tick.
        next = now.addSecs(qint64(interval) * 60);
        return false;
    }
    // Advanced from its old value, so a due time left behind fires again on later ticks,
    // at most once per clock minute, until it has caught up.
    next = next.addSecs(qint64(interval) * 60);
    const qint16 minute = qint16(now.time().minute());
    if (minute == lastMinute)
        return false;
    lastMinute = minute; // set before the work, so a nested tick sees it
    return true;
}

void Scheduler::publishingStep()
{
    if (m_publishing)
        return; // its rule is looked at again on a tick after the run ends
    if (!due(m_config.UploadInterval, m_state.NextUploadTime, m_state.LastUploadMinute))
        return;
    Running running(m_publishing);
    m_jobs.PublishWebPages();
}

void Scheduler::loggingStep()
{
    if (m_logging)
        return;
    if (!due(m_config.LoggingInterval, m_state.NextLogTime, m_state.LastLogMinute))
        return;
    Running running(m_logging);
    m_log.writeLogRecords();
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
    if (m_pagers || !anyPagerEnabled())
        return;
    Running running(m_pagers);
    m_jobs.CheckPagers();
}

void Scheduler::quarterHourStep()
{
    const int minute = m_clock.now().time().minute();
    if (minute == 5 || minute == 20 || minute == 35 || minute == 50)
        m_pagerFlags.clear();
}

void Scheduler::graphStep()
{
    const std::optional<QTime> graphTime = graphTimeOfDay(m_config.Graph[GraphUploadTime]);
    if (!graphTime)
        return;
    const int graphMinute = minuteOfDay(*graphTime);
    const int nowMinute = minuteOfDay(m_clock.now().time());
    if (graphMinute == nowMinute && variantEquals(m_config.Graph[UploadGraphs], 1) &&
        !m_state.GraphRunDone) {
        if (m_graphs)
            return;
        m_state.GraphRunDone = true;
        Running running(m_graphs);
        m_jobs.GenerateDailyGraphs();
        return; // the graph run is the last step of a tick
    }
    // One hour later the flag is cleared for the next day; after 23:00 that hour is
    // early the next morning.
    if ((graphMinute + 60) % (24 * 60) == nowMinute)
        m_state.GraphRunDone = false;
}
