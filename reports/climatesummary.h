// Daily and monthly climate figures from a month's log records, as the NOAA summaries show them.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <cmath>
#include <optional>

// One "Outdoor Data" record; a reading the record does not hold is NaN.
struct Observation
{
    QDateTime time; // local time, as logged
    double temperature = NAN;
    double averageSpeed = NAN;
    double averageDirection = NAN; // degrees
    double gustSpeed = NAN;
    double rainTotal = NAN; // the console's running total since its last reset
};

// A value with the local time it was seen.
struct TimedValue
{
    double value = NAN;
    QDateTime time;
    bool valid() const { return !std::isnan(value); }
};

struct DaySummary
{
    QDate date;
    int records = 0;
    int expectedRecords = 0; // for the part of the day that has passed
    double meanTemperature = NAN;
    TimedValue high;
    TimedValue low;
    double heatingDegreeDays = NAN;
    double coolingDegreeDays = NAN;
    double rain = NAN;
    double meanWind = NAN;
    TimedValue gust;
    std::optional<int> dominantDirection; // whole degrees, 0-359
    // Fewer than 80 % of the records the logging interval gives for the day.
    bool incomplete() const { return records * 5 < expectedRecords * 4; }
};

struct SummaryUnits
{
    bool metric = false;
    double degreeDayBase() const { return metric ? 18.3 : 65.0; }
};

struct MonthSummary
{
    int year = 0;
    int month = 0;
    QList<DaySummary> days; // the days up to `now`, and any later day that has records
    double meanTemperature = NAN; // mean of the daily means
    double meanHigh = NAN;
    double meanLow = NAN;
    TimedValue high;
    TimedValue low;
    double heatingDegreeDays = NAN;
    double coolingDegreeDays = NAN;
    double rain = NAN;
    TimedValue wettestDay; // the day's rain, at the day's midnight
    double meanWind = NAN;
    TimedValue gust;
    std::optional<int> dominantDirection;
    int incompleteDays = 0;
};

// The figures of one month. Records are taken in the order logged; a day is a local
// calendar day (23 or 25 hours across a change to or from summer time). `intervalMinutes`
// is the logging interval the expected record counts follow; `now` ends the days counted.
MonthSummary summarizeMonth(int year, int month, const QList<Observation> &records,
                            const SummaryUnits &units, int intervalMinutes, const QDateTime &now);

// The logging interval the records show: the most common step between neighbours, in whole
// minutes; 0 when there are fewer than two records.
int observedInterval(const QList<Observation> &records);
