// CheckPagers, and the wait for the modem to send what it asked for.
#include "paging/pagercheckrun.h"

#include "paging/modempager.h"

PagerCheckRun::PagerCheckRun(PagerChecks &checks, PagerFlags &flags, ModemPager &pager,
                             ProblemSink problems, QObject *parent)
    : Job(parent), m_checks(checks), m_flags(flags), m_pager(pager), m_problems(std::move(problems))
{
}

void PagerCheckRun::run()
{
    const int callsBefore = m_pager.callsPending();
    const QList<PagerRowProblem> problems = m_checks.CheckPagers(m_flags);
    if (m_problems)
        m_problems(problems);
    if (m_pager.callsPending() == callsBefore) {
        finish();
        return;
    }
    connect(
        &m_pager, &ModemPager::idle, this, [this] { finish(); }, Qt::SingleShotConnection);
}

void PagerCheckRun::stopSteps()
{
    disconnect(&m_pager, &ModemPager::idle, this, nullptr);
    m_pager.abandonCalls();
}
