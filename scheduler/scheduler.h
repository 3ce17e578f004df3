// Timer1: every ten seconds, decides which unattended job is due and starts it.
#pragma once

#include "scheduler/scheduledjobs.h"

#include <QDateTime>
#include <QObject>
#include <array>
#include <memory>

class Clock;
class ClockTimer;
struct Configuration;

// The schedule's own state; every value starts empty with the program.
struct ScheduleState
{
    QDateTime NextUploadTime; // invalid = empty
    // The whole clock minute (the instant it began) in which the last pass started, so that
    // "once per clock minute" means that minute of that day: a pass an hour or a day later
    // in the same minute of the hour still runs. Invalid until the first pass.
    QDateTime LastUploadMinute;
    QDateTime NextLogTime;
    QDateTime LastLogMinute;
    bool GraphRunDone = false;
};

// A tick only starts jobs; each job runs on its own timers and signals, so ticks keep
// coming every 10 s whatever runs. A job whose previous run is still alive is not started
// again (a skip), and a run that outlives its limit is abandoned.
class Scheduler : public QObject
{
    Q_OBJECT
public:
    static constexpr int FirstTickMs = 20000;
    static constexpr int TickMs = 10000;

    // How long a run may take before it is abandoned, so that a stuck server or modem
    // never holds its job back for good. Looked at on every tick; since runs start on
    // ticks and the limits are whole ticks, a run is abandoned right at its limit, and
    // its job may start afresh on that same tick.
    // 3 s between the two readings, then both records in one transaction that is allowed 2 s
    // for another program's lock.
    static constexpr int LoggingMaxMs = 60 * 1000;
    // Two renders 10 s apart; the uploads and the forecast go on in the background.
    static constexpr int PublishingMaxMs = 5 * 60 * 1000;
    // Up to five calls, each about 3 minutes when every reply comes just before its time-out.
    static constexpr int PagingMaxMs = 20 * 60 * 1000;
    // Five graph uploads, waited for 150 + 4 x 120 s at most.
    static constexpr int GraphsMaxMs = 20 * 60 * 1000;
    static int maxRunMs(ScheduledJob job);

    // The configuration is read on every tick, so a saved change applies at once.
    Scheduler(Clock &clock, const Configuration &config, ScheduledJobs &jobs,
              QObject *parent = nullptr);
    ~Scheduler() override;

    // Starts Timer1: the first tick 20 s from now, then one every 10 s.
    void start();
    // Stops Timer1; runs in progress go on.
    void stop();
    bool isRunning() const;
    // Stops Timer1 and abandons every run but a logging pass, which may finish its record
    // pair; idle() follows when that pass ends.
    void windDown();
    // Abandons and deletes the latest run of `job`, before the owner of what it uses goes.
    void discardRun(ScheduledJob job);

    // One tick of Timer1; public so that a tick can be run on demand.
    void tick();

    bool isRunning(ScheduledJob job) const;
    bool isBusy() const;

    const ScheduleState &state() const { return m_state; }
    ClockTimer &timer1() { return *m_timer1; }

signals:
    // A due job was not started because its previous run is still alive; said once per run.
    void skipped(ScheduledJob job, const QString &text);
    // A run outlived its limit and was stopped.
    void abandoned(ScheduledJob job, const QString &text);
    // The last running job has ended.
    void idle();

private:
    struct Slot
    {
        std::unique_ptr<Job> run; // the latest run, kept until the next one starts
        qint64 startedMs = 0;     // on the monotonic clock
        bool skipReported = false;
    };

    void publishingStep();
    void loggingStep();
    void pagerStep();
    void quarterHourStep();
    void graphStep();

    // The due rule shared by publishing and logging; true when the job runs now.
    bool due(qint16 interval, QDateTime &next, QDateTime &lastMinute);
    // The same rule without its effects: whether it would run the job now.
    bool wouldRun(qint16 interval, const QDateTime &next, const QDateTime &lastMinute) const;
    bool anyPagerEnabled() const;
    bool tickReaches(int minuteOfDay) const;

    void startRun(ScheduledJob job);
    void reportSkip(ScheduledJob job);
    void overran(ScheduledJob job);
    Slot &slot(ScheduledJob job) { return m_slots[size_t(job)]; }
    const Slot &slot(ScheduledJob job) const { return m_slots[size_t(job)]; }

    Clock &m_clock;
    const Configuration &m_config;
    ScheduledJobs &m_jobs;
    std::unique_ptr<ClockTimer> m_firstTick;
    std::unique_ptr<ClockTimer> m_timer1;
    ScheduleState m_state;
    std::array<Slot, 4> m_slots;
    QDateTime m_previousTick;
};
