// Fixed-width NOAA layout: right-aligned columns, "---" where there is no figure.
#include "reports/noaatext.h"

#include "core/datetimeformat.h"

namespace {

QString number(double v, int decimals)
{
    return std::isnan(v) ? QStringLiteral("---") : QString::number(v, 'f', decimals);
}

QString clockTime(const TimedValue &v)
{
    return v.valid() ? v.time.toString(QStringLiteral("HH:mm")) : QStringLiteral("---");
}

QString dayOf(const TimedValue &v)
{
    return v.valid() ? v.time.toString(QStringLiteral("dd")) : QStringLiteral("---");
}

QString direction(const std::optional<int> &d)
{
    return d ? QString::number(*d) : QStringLiteral("---");
}

// One line of cells, each right-aligned in its width and one blank apart.
QString line(const QList<int> &widths, const QStringList &cells, const QString &mark = {})
{
    QString out;
    for (qsizetype i = 0; i < widths.size(); ++i) {
        if (i > 0)
            out += QLatin1Char(' ');
        out += cells.value(i).rightJustified(widths.at(i));
    }
    if (!mark.isEmpty())
        out += QLatin1Char(' ') + mark;
    while (out.endsWith(QLatin1Char(' ')))
        out.chop(1);
    return out + QLatin1Char('\n');
}

QString rule(const QList<int> &widths)
{
    int length = int(widths.size()) - 1;
    for (int w : widths)
        length += w;
    return QString(length, QLatin1Char('-')) + QLatin1Char('\n');
}

QString centred(const QString &text, int width)
{
    return QString((std::max(0, width - int(text.size()))) / 2, QLatin1Char(' ')) + text +
           QLatin1Char('\n');
}

QString unitsLine(const SummaryUnits &u)
{
    return u.metric ? QStringLiteral("TEMPERATURE (C), RAIN (mm), WIND SPEED (m/s)")
                    : QStringLiteral("TEMPERATURE (F), RAIN (in), WIND SPEED (mph)");
}

int rainDecimals(const SummaryUnits &u)
{
    return u.metric ? 1 : 2;
}

const QList<int> kDayWidths = {3, 6, 6, 6, 6, 6, 7, 7, 7, 6, 6, 6, 4};

} // namespace

QString noaaMonthText(const MonthSummary &m, const SummaryUnits &units)
{
    const QList<int> &w = kDayWidths;
    const int width = int(rule(w).size()) - 1;
    const int rd = rainDecimals(units);
    QString out;
    out += centred(QStringLiteral("MONTHLY CLIMATOLOGICAL SUMMARY for %1 %2")
                       .arg(englishMonthName(m.month, true).toUpper())
                       .arg(m.year),
                   width);
    out += QLatin1Char('\n') + centred(unitsLine(units), width) + QLatin1Char('\n');
    out += line(w, {"", "", "", "", "", "", "HEAT", "COOL", "", "AVG"});
    out += line(w, {"", "MEAN", "", "", "", "", "DEG", "DEG", "", "WIND", "", "", "DOM"});
    out += line(w, {"DAY", "TEMP", "HIGH", "TIME", "LOW", "TIME", "DAYS", "DAYS", "RAIN",
                    "SPEED", "HIGH", "TIME", "DIR"});
    out += rule(w);

    int hot = 0, freezingDays = 0, frostNights = 0, severeNights = 0;
    int rainDays[3] = {0, 0, 0};
    const double hotAt = units.metric ? 30.0 : 90.0;
    const double freezing = units.metric ? 0.0 : 32.0;
    const double severe = units.metric ? -18.0 : 0.0;
    const double rainAt[3] = {units.metric ? 0.2 : 0.01, units.metric ? 2.0 : 0.1,
                              units.metric ? 20.0 : 1.0};
    for (const DaySummary &d : m.days) {
        out += line(w,
                    {d.date.toString(QStringLiteral("dd")), number(d.meanTemperature, 1),
                     number(d.high.value, 1), clockTime(d.high), number(d.low.value, 1),
                     clockTime(d.low), number(d.heatingDegreeDays, 1),
                     number(d.coolingDegreeDays, 1), number(d.rain, rd), number(d.meanWind, 1),
                     number(d.gust.value, 1), clockTime(d.gust), direction(d.dominantDirection)},
                    d.incomplete() ? QStringLiteral("*") : QString());
        hot += d.high.valid() && d.high.value >= hotAt;
        freezingDays += d.high.valid() && d.high.value <= freezing;
        frostNights += d.low.valid() && d.low.value <= freezing;
        severeNights += d.low.valid() && d.low.value <= severe;
        for (int i = 0; i < 3; ++i)
            rainDays[i] += !std::isnan(d.rain) && d.rain >= rainAt[i] - 1e-9;
    }
    out += rule(w);
    out += line(w, {"", number(m.meanTemperature, 1), number(m.high.value, 1), dayOf(m.high),
                    number(m.low.value, 1), dayOf(m.low), number(m.heatingDegreeDays, 1),
                    number(m.coolingDegreeDays, 1), number(m.rain, rd), number(m.meanWind, 1),
                    number(m.gust.value, 1), dayOf(m.gust), direction(m.dominantDirection)});
    out += QLatin1Char('\n');
    const QString deg = units.metric ? QStringLiteral("C") : QStringLiteral("F");
    const QString rainUnit = units.metric ? QStringLiteral("mm") : QStringLiteral("in");
    out += QStringLiteral("Max >= %1: %2\n").arg(number(hotAt, 1).rightJustified(5)).arg(hot, 3);
    out += QStringLiteral("Max <= %1: %2\n").arg(number(freezing, 1).rightJustified(5)).arg(freezingDays, 3);
    out += QStringLiteral("Min <= %1: %2\n").arg(number(freezing, 1).rightJustified(5)).arg(frostNights, 3);
    out += QStringLiteral("Min <= %1: %2\n").arg(number(severe, 1).rightJustified(5)).arg(severeNights, 3);
    if (m.wettestDay.valid() && m.wettestDay.value > 0)
        out += QStringLiteral("Max rain: %1 %2 on %3\n")
                   .arg(number(m.wettestDay.value, rd), rainUnit, dayOf(m.wettestDay));
    out += QStringLiteral("Days of rain: %1 (>= %2 %5), %3 (>= %4 %5), %6 (>= %7 %5)\n")
               .arg(rainDays[0])
               .arg(number(rainAt[0], rd))
               .arg(rainDays[1])
               .arg(number(rainAt[1], rd), rainUnit)
               .arg(rainDays[2])
               .arg(number(rainAt[2], rd));
    out += QStringLiteral("Degree days: base %1 %2, from each day's mean temperature\n")
               .arg(number(units.degreeDayBase(), 1), deg);
    if (m.incompleteDays > 0)
        out += QStringLiteral("* %1 day(s) with fewer than 80 percent of the expected records\n")
                   .arg(m.incompleteDays);
    return out;
}

QString noaaYearText(int year, const QList<MonthSummary> &months, const SummaryUnits &units)
{
    const QList<int> w = {4, 3, 6, 6, 6, 6, 3, 6, 3, 7, 7, 7, 6, 3, 6, 6, 3, 4};
    const int width = int(rule(w).size()) - 1;
    const int rd = rainDecimals(units);
    QString out;
    out += centred(QStringLiteral("ANNUAL CLIMATOLOGICAL SUMMARY for %1").arg(year), width);
    out += QLatin1Char('\n') + centred(unitsLine(units), width) + QLatin1Char('\n');
    out += line(w, {"", "", "", "", "", "", "", "", "", "HEAT", "COOL", "", "MAX", "", "AVG"});
    out += line(w, {"", "", "MEAN", "MEAN", "", "", "", "", "", "DEG", "DEG", "", "DAY", "",
                    "WIND", "", "", "DOM"});
    out += line(w, {"YR", "MO", "MAX", "MIN", "MEAN", "HIGH", "DAY", "LOW", "DAY", "DAYS",
                    "DAYS", "RAIN", "RAIN", "DAY", "SPEED", "HIGH", "DAY", "DIR"});
    out += rule(w);

    // The year's figures, from the months; the extremes' columns name the month.
    MonthSummary y;
    double meanSum[4] = {0, 0, 0, 0};
    int meanCount[4] = {0, 0, 0, 0};
    const auto addMean = [&](int i, double v) {
        if (!std::isnan(v)) {
            meanSum[i] += v;
            ++meanCount[i];
        }
    };
    const auto sum = [](double total, double v) {
        return std::isnan(v) ? total : (std::isnan(total) ? v : total + v);
    };
    const auto month = [](const TimedValue &v) {
        return v.valid() ? QString::number(v.time.date().month()) : QStringLiteral("---");
    };
    int incomplete = 0;
    for (const MonthSummary &m : months) {
        out += line(w,
                    {QString::number(m.year), QStringLiteral("%1").arg(m.month, 2, 10, QLatin1Char('0')),
                     number(m.meanHigh, 1), number(m.meanLow, 1), number(m.meanTemperature, 1),
                     number(m.high.value, 1), dayOf(m.high), number(m.low.value, 1), dayOf(m.low),
                     number(m.heatingDegreeDays, 1), number(m.coolingDegreeDays, 1),
                     number(m.rain, rd), number(m.wettestDay.value, rd), dayOf(m.wettestDay),
                     number(m.meanWind, 1), number(m.gust.value, 1), dayOf(m.gust),
                     direction(m.dominantDirection)},
                    m.incompleteDays > 0 ? QStringLiteral("*") : QString());
        addMean(0, m.meanHigh);
        addMean(1, m.meanLow);
        addMean(2, m.meanTemperature);
        addMean(3, m.meanWind);
        if (m.high.valid() && (!y.high.valid() || m.high.value > y.high.value))
            y.high = m.high;
        if (m.low.valid() && (!y.low.valid() || m.low.value < y.low.value))
            y.low = m.low;
        if (m.gust.valid() && (!y.gust.valid() || m.gust.value > y.gust.value))
            y.gust = m.gust;
        if (m.wettestDay.valid() && (!y.wettestDay.valid() || m.wettestDay.value > y.wettestDay.value))
            y.wettestDay = m.wettestDay;
        y.heatingDegreeDays = sum(y.heatingDegreeDays, m.heatingDegreeDays);
        y.coolingDegreeDays = sum(y.coolingDegreeDays, m.coolingDegreeDays);
        y.rain = sum(y.rain, m.rain);
        incomplete += m.incompleteDays;
    }
    const auto mean = [&](int i) { return meanCount[i] ? meanSum[i] / meanCount[i] : NAN; };
    out += rule(w);
    out += line(w, {"", "", number(mean(0), 1), number(mean(1), 1), number(mean(2), 1),
                    number(y.high.value, 1), month(y.high), number(y.low.value, 1), month(y.low),
                    number(y.heatingDegreeDays, 1), number(y.coolingDegreeDays, 1),
                    number(y.rain, rd), number(y.wettestDay.value, rd), month(y.wettestDay),
                    number(mean(3), 1), number(y.gust.value, 1), month(y.gust)});
    out += QLatin1Char('\n');
    out += QStringLiteral("In the year's row, DAY gives the month of the extreme.\n");
    out += QStringLiteral("Degree days: base %1 %2, from each day's mean temperature\n")
               .arg(number(units.degreeDayBase(), 1),
                    units.metric ? QStringLiteral("C") : QStringLiteral("F"));
    if (incomplete > 0)
        out += QStringLiteral("* months with days that have fewer than 80 percent of the "
                              "expected records (%1 days in all)\n")
                   .arg(incomplete);
    return out;
}
