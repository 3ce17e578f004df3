// Scheduled jobs that record when they were called, and can wait or fail like real ones.
#pragma once

#include "core/clock.h"
#include "scheduler/logjobs.h"
#include "scheduler/scheduledjobs.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <functional>
#include <stdexcept>

class RecordingJobs final : public ScheduledJobs, public LogJobs
{
public:
    struct Call
    {
        QString job; // "publish", "log", "pagers", "graphs", "month"
        QDateTime at;
    };

    explicit RecordingJobs(Clock &clock) : m_clock(clock) {}

    QList<Call> calls;
    QList<QDate> monthDates;
    QHash<QString, double> waitSeconds; // a job that lets events run for this long
    QHash<QString, bool> throws;        // a job that fails
    QHash<QString, int> running;
    QHash<QString, int> mostAtOnce;
    // Which other jobs were running whenever a job started.
    QHash<QString, QStringList> startedDuring;
    std::function<void()> pagerWork;

    QList<QDateTime> times(const QString &job) const
    {
        QList<QDateTime> t;
        for (const Call &c : calls) {
            if (c.job == job)
                t << c.at;
        }
        return t;
    }

    void PublishWebPages() override { run(QStringLiteral("publish")); }
    void CheckPagers() override
    {
        run(QStringLiteral("pagers"));
        if (pagerWork)
            pagerWork();
    }
    void GenerateDailyGraphs() override { run(QStringLiteral("graphs")); }
    void createMonthDatabase(const QDate &date) override { monthDates << date; }
    void writeLogRecords() override { run(QStringLiteral("log")); }

private:
    void run(const QString &job)
    {
        calls << Call{job, m_clock.now()};
        for (auto it = running.cbegin(); it != running.cend(); ++it) {
            if (it.value() > 0)
                startedDuring[job] << it.key();
        }
        const int now = ++running[job];
        mostAtOnce[job] = qMax(mostAtOnce.value(job), now);
        if (waitSeconds.value(job) > 0)
            WaitSeconds(m_clock, waitSeconds.value(job));
        --running[job];
        if (throws.value(job))
            throw std::runtime_error("job failed");
    }

    Clock &m_clock;
};
