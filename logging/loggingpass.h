// One logging pass as a job: the outdoor readings, 3 seconds, the indoor readings, then both
// records at once.
#pragma once

#include "core/job.h"
#include "logging/logresult.h"
#include "logging/logwriter.h"

#include <QDate>
#include <memory>

class Clock;
class ClockTimer;

class LoggingPass : public Job
{
    Q_OBJECT
public:
    // The two records of a pair are this far apart, as their "Date_Time" values show.
    static constexpr int PairDelayMs = 3000;

    LoggingPass(LogWriter &writer, Clock &clock, QObject *parent = nullptr);
    ~LoggingPass() override;

    // Another wait between the two readings, for tests that run many passes in real time.
    void setPairDelayMs(int ms);

    // The outcome of the whole pass once it has finished.
    LogResult result() const { return m_result; }

protected:
    void run() override;
    void stopSteps() override;

private:
    void writePair();

    LogWriter &m_writer;
    Clock &m_clock;
    std::unique_ptr<ClockTimer> m_pairTimer;
    QDate m_month;
    LogWriter::PairValues m_outdoor;
    LogResult m_result;
};
