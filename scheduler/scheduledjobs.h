// What the scheduler runs: the jobs of the logging, publishing, paging and graph subsystems.
#pragma once

#include "core/job.h"

#include <QDate>
#include <QMetaType>
#include <memory>

// The jobs Timer1 starts, in the order a tick looks at them.
enum class ScheduledJob { Publishing, Logging, Paging, Graphs };
Q_DECLARE_METATYPE(ScheduledJob)

// The subsystems plug their jobs in here; a job that is not plugged in yet is not run.
class ScheduledJobs
{
public:
    virtual ~ScheduledJobs() = default;
    // Creates the file of the month of `date` when it is missing; done on the tick itself.
    virtual void createMonthDatabase(const QDate &date) = 0;
    // A new run of `job`, not started yet, or null when nothing is plugged in for it.
    virtual std::unique_ptr<Job> newRun(ScheduledJob job) = 0;
    // The quarter-hour reset: every pager row may page again. The pager checks own
    // the page-sent flags; the scheduler only says when.
    virtual void clearPageSentFlags() = 0;
};
