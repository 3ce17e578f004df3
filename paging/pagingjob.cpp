// The pager step's parts, wired together.
#include "paging/pagingjob.h"

#include "core/clock.h"
#include "paging/pagercheckrun.h"
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

std::unique_ptr<Job> PagingJob::CheckPagers()
{
    return std::make_unique<PagerCheckRun>(m_checks, m_flags, m_pager,
                                           [this](const QList<PagerRowProblem> &problems) {
                                               for (const PagerRowProblem &p : problems)
                                                   emit rowProblem(p.row, p.why);
                                           });
}

PagerReport PagingJob::report(const QString &templatePath) const
{
    const QString forecast = m_forecastText ? m_forecastText() : QString();
    const PagerTemplateResult r =
        ExpandPagerTemplate(templatePath, PagerTokenValues(m_readings, forecast, m_clock.now()));
    return PagerReport{r.text, r.error};
}
