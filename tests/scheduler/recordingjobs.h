// Scheduled jobs that record when their runs started and ended, and can take long or fail.
#pragma once

#include "fakes/fakejob.h"
#include "scheduler/scheduledjobs.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <stdexcept>

class RecordingJobs final : public ScheduledJobs
{
public:
    struct Call
    {
        QString job; // "publish", "log", "pagers", "graphs"
        QDateTime at;
    };

    explicit RecordingJobs(Clock &clock) : m_clock(clock) {}

    QList<Call> calls;
    QList<QDate> monthDates;
    QList<QDateTime> ticks; // each tick asks for the month's file first
    QList<QDateTime> flagClears;
    QHash<QString, int> durationMs; // how long a run takes; negative: it never ends
    QHash<QString, bool> throws;    // making a run fails
    QHash<QString, int> running;
    QHash<QString, int> mostAtOnce;
    QHash<QString, QList<QDateTime>> abandonedAt;
    // Which other jobs were running whenever a job started.
    QHash<QString, QStringList> startedDuring;

    static QString name(ScheduledJob job)
    {
        switch (job) {
        case ScheduledJob::Publishing:
            return QStringLiteral("publish");
        case ScheduledJob::Logging:
            return QStringLiteral("log");
        case ScheduledJob::Paging:
            return QStringLiteral("pagers");
        case ScheduledJob::Graphs:
            break;
        }
        return QStringLiteral("graphs");
    }

    QList<QDateTime> times(const QString &job) const
    {
        QList<QDateTime> t;
        for (const Call &c : calls) {
            if (c.job == job)
                t << c.at;
        }
        return t;
    }

    void createMonthDatabase(const QDate &date) override
    {
        monthDates << date;
        ticks << m_clock.now();
    }
    void clearPageSentFlags() override { flagClears << m_clock.now(); }
    std::unique_ptr<Job> newRun(ScheduledJob which) override
    {
        const QString job = name(which);
        if (throws.value(job)) {
            calls << Call{job, m_clock.now()};
            throw std::runtime_error("job failed");
        }
        auto run = std::make_unique<FakeJob>(m_clock, durationMs.value(job), [this, job] {
            calls << Call{job, m_clock.now()};
            for (auto it = running.cbegin(); it != running.cend(); ++it) {
                if (it.value() > 0)
                    startedDuring[job] << it.key();
            }
            const int now = ++running[job];
            mostAtOnce[job] = qMax(mostAtOnce.value(job), now);
        });
        run->onEnd = [this, job](bool abandoned) {
            --running[job];
            if (abandoned)
                abandonedAt[job] << m_clock.now();
        };
        return run;
    }

private:
    Clock &m_clock;
};
