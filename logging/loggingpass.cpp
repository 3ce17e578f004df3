// The logging pass's two steps on the clock's timer.
#include "logging/loggingpass.h"

#include "core/clock.h"
#include "logging/logwriter.h"

LoggingPass::LoggingPass(LogWriter &writer, Clock &clock, QObject *parent)
    : Job(parent), m_writer(writer), m_clock(clock), m_pairTimer(clock.createTimer())
{
    m_pairTimer->setSingleShot(true);
    m_pairTimer->setInterval(PairDelayMs);
    connect(m_pairTimer.get(), &ClockTimer::timeout, this, &LoggingPass::writePair);
}

LoggingPass::~LoggingPass() = default;

void LoggingPass::setPairDelayMs(int ms)
{
    m_pairTimer->setInterval(ms);
}

void LoggingPass::run()
{
    // Both records go to the file of the month in which the pass began. Nothing is written
    // before the end of the pass, so a pass cut short leaves no record without its partner.
    m_month = m_clock.now().date();
    m_outdoor = m_writer.startPass(m_month);
    m_pairTimer->start();
}

void LoggingPass::stopSteps()
{
    m_pairTimer->stop();
    m_result = LogResult::failure(QStringLiteral("abandoned before the records were written"));
}

void LoggingPass::writePair()
{
    m_result = m_writer.completePass(m_month, m_outdoor);
    finish();
}
