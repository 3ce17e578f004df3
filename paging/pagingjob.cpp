// The pager step's parts, wired together.
#include "paging/pagingjob.h"

#include "core/clock.h"
#include "publishing/pagertemplate.h"

PagingJob::PagingJob(const Configuration &config, const ReadingsRecord &readings, Clock &clock,
                     StatusBoard &status, const ModemPagerWiring &wiring,
                     std::function<QString()> forecastText, QObject *parent)
    : QObject(parent), m_readings(readings), m_clock(clock),
      m_forecastText(std::move(forecastText)), m_pager(config, wiring, clock, status),
      m_checks(config, readings, clock,
               PagerCheckWiring{
                   [this](const QString &path) { return report(path); },
                   [this](const QString &pager, const QString &message, const QString &company) {
                       m_pager.SendPage(pager, message, company);
                   }})
{
}

PagingJob::~PagingJob() = default;

void PagingJob::CheckPagers(PagerFlags &flags)
{
    for (const PagerRowProblem &p : m_checks.CheckPagers(flags))
        emit rowProblem(p.row, p.why);
}

PagerReport PagingJob::report(const QString &templatePath) const
{
    const QString forecast = m_forecastText ? m_forecastText() : QString();
    const PagerTemplateResult r =
        ExpandPagerTemplate(templatePath, PagerTokenValues(m_readings, forecast, m_clock.now()));
    return PagerReport{r.text, r.error};
}
