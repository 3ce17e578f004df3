// The scheduler's pager step put together: the pager checks, their once-flags, the report
// templates and the modem.
#pragma once

#include "paging/modempager.h"
#include "paging/pagerchecks.h"
#include "paging/pagerflags.h"

#include <QObject>
#include <functional>
#include <memory>

class Clock;
class Job;
class ReadingsRecord;
class StatusBoard;
struct Configuration;

// Give CheckPagers and clearPageSentFlags to the scheduler (Runtime::setPaging); the modem
// pager is here too, for anything else that pages. The forecast is asked for when a report
// is built.
class PagingJob : public QObject
{
    Q_OBJECT
public:
    PagingJob(const Configuration &config, const ReadingsRecord &readings, Clock &clock,
              StatusBoard &status, const ModemPagerWiring &wiring,
              std::function<QString()> forecastText, QObject *parent = nullptr);
    ~PagingJob() override;

    // A new run of the checks over this job's flags, not started yet.
    std::unique_ptr<Job> CheckPagers();
    // The quarter-hour reset: every row may page again.
    void clearPageSentFlags() { m_flags.clear(); }
    const PagerFlags &flags() const { return m_flags; }
    ModemPager &pager() { return m_pager; }

signals:
    // A row that could not be served on a check (headless mode prints these).
    void rowProblem(int row, const QString &why);

private:
    PagerReport report(const QString &templatePath) const;

    const ReadingsRecord &m_readings;
    Clock &m_clock;
    std::function<QString()> m_forecastText;
    ModemPager m_pager;
    PagerChecks m_checks;
    PagerFlags m_flags;
};
