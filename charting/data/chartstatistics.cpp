// The statistics of the "&Math" command, with the figures' integer and currency rounding.
#include "charting/data/chartstatistics.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace {

constexpr double kMissingAbove = 1e6;

bool isMissing(double v)
{
    return std::isnan(v) || v > kMissingAbove;
}

std::optional<double> parseNumber(const QString &text)
{
    bool ok = false;
    const double v = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// Halves go to the even neighbour (2.5 -> 2, 3.5 -> 4): the default rounding mode.
double roundHalfEven(double x)
{
    return std::nearbyint(x);
}

} // namespace

std::optional<SeriesStatistics> computeStatistics(const std::vector<double> &values)
{
    SeriesStatistics s;
    s.n = int(values.size());
    if (s.n == 0)
        return std::nullopt;
    for (double v : values) {
        if (isMissing(v))
            continue;
        if (v > s.maximum)
            s.maximum = v;
        if (v < s.minimum)
            s.minimum = v;
        s.sum += v;
    }
    // Integer division of whole numbers: the sum is rounded first, the quotient truncated.
    const double whole = roundHalfEven(s.sum);
    if (std::fabs(whole) < 9.0e18)
        s.average = double(qint64(whole) / s.n); // exact where doubles would not be
    else
        s.average = std::trunc(whole / s.n);

    double sumsq = 0;
    for (double v : values) {
        if (isMissing(v))
            continue;
        const double d = std::fabs(s.average - v);
        sumsq += d * d;
    }
    s.standardDeviation = roundHalfEven(std::sqrt(sumsq / s.n));
    return s;
}

QString plainNumber(double v)
{
    if (v == 0)
        return QStringLiteral("0"); // not "-0"
    return QString::number(v, 'f', QLocale::FloatingPointShortest);
}

bool isFlowSeries(const QString &seriesName)
{
    return seriesName.contains(QLatin1String("Flow")) ||
           seriesName.contains(QLatin1String("flow")) || seriesName.contains(QLatin1String("FLOW"));
}

std::optional<Currency> totalCost(const SeriesStatistics &s, const QString &rateAnswer,
                                  const QString &priceText)
{
    const std::optional<double> answer = parseNumber(rateAnswer);
    if (!answer)
        return std::nullopt;
    const double rate = roundHalfEven(*answer);
    if (rate < std::numeric_limits<qint16>::min() || rate > std::numeric_limits<qint16>::max())
        return std::nullopt;
    const std::optional<double> price = parseNumber(priceText);
    if (!price)
        return std::nullopt;
    const long double cost =
        static_cast<long double>(s.n) * s.average * rate * static_cast<long double>(*price);
    const long double units = cost * 10000.0L;
    if (!(std::fabs(units) < 9.2e18L)) // beyond what a currency value holds
        return std::nullopt;
    return Currency(roundHalfEven(double(units)));
}

QString formatCurrency(Currency c)
{
    const quint64 magnitude = c < 0 ? 0 - quint64(c) : quint64(c);
    QString text = QString::number(magnitude / 10000);
    QString decimals = QStringLiteral("%1").arg(magnitude % 10000, 4, 10, QLatin1Char('0'));
    while (decimals.endsWith(QLatin1Char('0')))
        decimals.chop(1);
    if (!decimals.isEmpty())
        text += QLatin1Char('.') + decimals;
    return c < 0 ? QLatin1Char('-') + text : text;
}

QString mathFigures(const SeriesStatistics &s)
{
    return QStringLiteral("Minimum=") + plainNumber(s.minimum) + QStringLiteral(", Maximum=") +
           plainNumber(s.maximum) + QStringLiteral(", Average=") + plainNumber(s.average) +
           QStringLiteral(", Standard Deviation=") + plainNumber(s.standardDeviation);
}

QString mathFooter(const QString &seriesName, const SeriesStatistics &s,
                   std::optional<Currency> cost)
{
    QString footer = seriesName + QStringLiteral(": ") + mathFigures(s);
    if (cost)
        footer += QStringLiteral(",Total Cost=") + formatCurrency(*cost);
    return footer;
}
