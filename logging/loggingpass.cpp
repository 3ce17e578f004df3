// The logging pass's two steps on the clock's timer.
#include "logging/loggingpass.h"

#include "core/clock.h"
#include "logging/logwriter.h"

LoggingPass::LoggingPass(LogWriter &writer, Clock &clock, QObject *parent)
    : Job(parent), m_writer(writer), m_clock(clock), m_pairTimer(clock.createTimer())
{
    m_pairTimer->setSingleShot(true);
    m_pairTimer->setInterval(PairDelayMs);
    connect(m_pairTimer.get(), &ClockTimer::timeout, this, &LoggingPass::writeIndoor);
}

LoggingPass::~LoggingPass() = default;

void LoggingPass::run()
{
    // Both records go to the file of the month in which the pass began.
    m_month = m_clock.now().date();
    m_outdoor = m_writer.startPass(m_month);
    m_pairTimer->start();
}

void LoggingPass::stopSteps()
{
    m_pairTimer->stop();
    m_result = LogResult::failure(QStringLiteral("abandoned before the indoor record"));
}

void LoggingPass::writeIndoor()
{
    m_result = m_writer.completePass(m_month, m_outdoor);
    finish();
}
