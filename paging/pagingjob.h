// The scheduler's pager step put together: the pager checks, the report templates and the modem.
#pragma once

#include "paging/modempager.h"
#include "paging/pagerchecks.h"

#include <QObject>
#include <functional>

class Clock;
class ReadingsRecord;
class StatusBoard;
struct Configuration;
struct PagerFlags;

// Give CheckPagers to the scheduler (Runtime::setPagerChecks); the modem pager is here
// too, for anything else that pages. The forecast is asked for when a report is built.
class PagingJob : public QObject
{
    Q_OBJECT
public:
    PagingJob(const Configuration &config, const ReadingsRecord &readings, Clock &clock,
              StatusBoard &status, const ModemPagerWiring &wiring,
              std::function<QString()> forecastText, QObject *parent = nullptr);
    ~PagingJob() override;

    void CheckPagers(PagerFlags &flags);
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
};
