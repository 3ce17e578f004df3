// Timer1: every ten seconds, decides which unattended job is due and runs it.
#pragma once

#include "scheduler/scheduledjobs.h"

#include <QDateTime>
#include <QObject>
#include <memory>

class Clock;
class ClockTimer;
class LogJobs;
struct Configuration;

// The schedule's own state; every value starts empty or zero with the program.
struct ScheduleState
{
    QDateTime NextUploadTime; // invalid = empty
    qint16 LastUploadMinute = 0;
    QDateTime NextLogTime;
    qint16 LastLogMinute = 0;
    bool GraphRunDone = false;
};

class Scheduler : public QObject
{
    Q_OBJECT
public:
    static constexpr int FirstTickMs = 20000;
    static constexpr int TickMs = 10000;

    // The configuration is read on every tick, so a saved change applies at once.
    Scheduler(Clock &clock, const Configuration &config, ScheduledJobs &jobs, LogJobs &log,
              QObject *parent = nullptr);
    ~Scheduler() override;

    // Starts Timer1: the first tick 20 s from now, then one every 10 s.
    void start();
    void stop();
    bool isRunning() const;

    // One tick of Timer1; public so that a tick can be run on demand.
    void tick();

    // True while a tick (or a tick nested inside a job of it) is running.
    bool inTick() const { return m_depth > 0; }

    const ScheduleState &state() const { return m_state; }
    // Owned here, cleared every quarter hour, set by the pager checks before they page.
    PagerFlags &pagerFlags() { return m_pagerFlags; }
    ClockTimer &timer1() { return *m_timer1; }

signals:
    // The outermost tick has returned: no job of the scheduler is running.
    void idle();

private:
    void publishingStep();
    void loggingStep();
    void pagerStep();
    void quarterHourStep();
    void graphStep();

    // The due rule shared by publishing and logging; true when the job runs now.
    bool due(qint16 interval, QDateTime &next, qint16 &lastMinute);
    bool anyPagerEnabled() const;

    Clock &m_clock;
    const Configuration &m_config;
    ScheduledJobs &m_jobs;
    LogJobs &m_log;
    std::unique_ptr<ClockTimer> m_timer1;
    ScheduleState m_state;
    PagerFlags m_pagerFlags;
    int m_depth = 0;
    // A job still running when a nested tick comes is not started again.
    bool m_publishing = false;
    bool m_logging = false;
    bool m_pagers = false;
    bool m_graphs = false;
};
