// The NOAA climatological summary texts that weather networks exchange.
#pragma once

#include "reports/climatesummary.h"

#include <QList>
#include <QString>

// The monthly summary: a row per day with mean, high and low temperature (with times),
// heating and cooling degree days, rain, mean wind, highest gust (with time) and dominant
// direction; a totals row; counts of hot, cold and rain days. A day with fewer than 80 % of
// its expected records carries "*" at the end of its row.
QString noaaMonthText(const MonthSummary &month, const SummaryUnits &units);

// The yearly summary: a row per month of `months` (those without data read "---"), then
// the year's figures.
QString noaaYearText(int year, const QList<MonthSummary> &months, const SummaryUnits &units);
