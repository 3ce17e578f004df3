// The running state shared by every job.
#include "core/job.h"

void Job::start()
{
    if (m_running)
        return;
    m_running = true;
    run();
}

void Job::abandon()
{
    if (!m_running)
        return;
    m_running = false;
    stopSteps();
}

void Job::finish()
{
    if (!m_running)
        return;
    m_running = false;
    emit finished();
}
