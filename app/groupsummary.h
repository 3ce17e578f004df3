// One-line summaries of decoded sensor groups, for the headless engine's output.
#pragma once

#include "acquisition/readingsrecord.h"

#include <QHash>
#include <QString>

// "wind: gust 5.4 MPH NorthEast, average 3.2 MPH, chill 70 F", in the units of `displayUnits`
// (0 English, nonzero Metric). A reading not received yet shows as "-".
QString groupSummary(SensorGroup group, const ReadingsRecord &record, int displayUnits);

// Lets each group through at most once per period, so that a months-long run does not
// write a line every few seconds.
class SummaryThrottle
{
public:
    explicit SummaryThrottle(qint64 periodMs = 60000) : m_periodMs(periodMs) {}
    // True when `group` may be printed at `monotonicMs`, which then starts its period.
    bool allow(SensorGroup group, qint64 monotonicMs);

private:
    qint64 m_periodMs;
    QHash<int, qint64> m_last;
};
