// Minimum, maximum, average, standard deviation and total cost of one chart series.
#pragma once

#include <QString>
#include <optional>
#include <vector>

struct SeriesStatistics
{
    int n = 0;                // every point, missing ones included
    double minimum = 1000000; // start values, kept when no point lowers or raises them
    double maximum = -1000;
    double sum = 0;
    // Whole numbers, kept as doubles so that no sum is too large for them.
    double average = 0; // the rounded sum integer-divided by n
    double standardDeviation = 0;
};

// A point above 1e6, or NaN, is missing: it counts in n but in nothing else. With n = 0
// there is no average; the result is empty.
std::optional<SeriesStatistics> computeStatistics(const std::vector<double> &values);

// A number in its shortest plain decimal form: "15", "-1000", "72.5", "1000000".
QString plainNumber(double v);

// A cost in ten-thousandths, as a currency value; see formatCurrency.
using Currency = qint64;

// A series is a flow when its name says so: "Flow", "flow" or "FLOW".
bool isFlowSeries(const QString &seriesName);

// n x average x rate x price, rounded to four decimals. Empty when `rateAnswer` is not a
// number or outside the 16-bit range (a fraction is rounded) or `priceText` is not a number.
std::optional<Currency> totalCost(const SeriesStatistics &s, const QString &rateAnswer,
                                  const QString &priceText);
// At most four decimals, no trailing zeros: 71078 -> "7.1078", 20000 -> "2".
QString formatCurrency(Currency c);

// "Minimum=10, Maximum=31, Average=15, Standard Deviation=9": the automated report's footer.
QString mathFigures(const SeriesStatistics &s);
// "Temperature: Minimum=10, Maximum=31, Average=15, Standard Deviation=9", then
// ",Total Cost=7.1078" when there is a cost.
QString mathFooter(const QString &seriesName, const SeriesStatistics &s,
                   std::optional<Currency> cost = std::nullopt);
