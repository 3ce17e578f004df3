// One run of the pager checks as a job: the rows checked, then the pages they asked for sent.
#pragma once

#include "core/job.h"
#include "paging/pagerchecks.h"

#include <functional>

class ModemPager;
struct PagerFlags;

// Ends when the modem pager has sent every page this check queued; a check that pages
// nobody ends at once. Abandoned, it ends the call in progress and drops the rest.
class PagerCheckRun : public Job
{
    Q_OBJECT
public:
    using ProblemSink = std::function<void(const QList<PagerRowProblem> &)>;

    PagerCheckRun(PagerChecks &checks, PagerFlags &flags, ModemPager &pager, ProblemSink problems,
                  QObject *parent = nullptr);

protected:
    void run() override;
    void stopSteps() override;

private:
    PagerChecks &m_checks;
    PagerFlags &m_flags;
    ModemPager &m_pager;
    ProblemSink m_problems;
};
