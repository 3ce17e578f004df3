// One logging pass as a job: the "Outdoor Data" record, 3 seconds, the "Indoor Data" record.
#pragma once

#include "core/job.h"
#include "logging/logresult.h"

#include <QDate>
#include <memory>

class Clock;
class ClockTimer;
class LogWriter;

class LoggingPass : public Job
{
    Q_OBJECT
public:
    // The two records of a pair are this far apart, as their "Date_Time" values show.
    static constexpr int PairDelayMs = 3000;

    LoggingPass(LogWriter &writer, Clock &clock, QObject *parent = nullptr);
    ~LoggingPass() override;

    // The outcome of the whole pass once it has finished.
    LogResult result() const { return m_result; }

protected:
    void run() override;
    void stopSteps() override;

private:
    void writeIndoor();

    LogWriter &m_writer;
    Clock &m_clock;
    std::unique_ptr<ClockTimer> m_pairTimer;
    QDate m_month;
    LogResult m_outdoor;
    LogResult m_result;
};
