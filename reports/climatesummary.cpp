// Daily figures from the records of each local day, and the month's from the days.
#include "reports/climatesummary.h"

#include <QHash>
#include <algorithm>

namespace {

// Speed-weighted mean of wind directions as a vector; none when the winds cancel out.
class DirectionMean
{
public:
    void add(double degrees, double speed)
    {
        if (std::isnan(degrees))
            return;
        const double weight = std::isnan(speed) ? 0.0 : speed;
        const double rad = degrees * M_PI / 180.0;
        m_x += weight * std::sin(rad);
        m_y += weight * std::cos(rad);
        m_calmX += std::sin(rad);
        m_calmY += std::cos(rad);
        ++m_count;
    }
    std::optional<int> degrees() const
    {
        double x = m_x;
        double y = m_y;
        if (std::hypot(x, y) < 1e-9) { // a calm day: the vanes' mean alone
            x = m_calmX;
            y = m_calmY;
        }
        if (m_count == 0 || std::hypot(x, y) < 1e-9)
            return std::nullopt;
        int d = int(std::lround(std::atan2(x, y) * 180.0 / M_PI));
        return ((d % 360) + 360) % 360;
    }

private:
    double m_x = 0, m_y = 0, m_calmX = 0, m_calmY = 0;
    int m_count = 0;
};

struct Mean
{
    double sum = 0;
    int count = 0;
    void add(double v)
    {
        if (!std::isnan(v)) {
            sum += v;
            ++count;
        }
    }
    double value() const { return count ? sum / count : NAN; }
};

// The first of equal extremes counts, so its time is the earliest.
void keepHigher(TimedValue &kept, double value, const QDateTime &time)
{
    if (!std::isnan(value) && (!kept.valid() || value > kept.value))
        kept = {value, time};
}
void keepLower(TimedValue &kept, double value, const QDateTime &time)
{
    if (!std::isnan(value) && (!kept.valid() || value < kept.value))
        kept = {value, time};
}

double addOrStart(double total, double value)
{
    return std::isnan(total) ? value : total + value;
}

// Rain amounts are differences of two-decimal totals: keep them free of binary dust.
double roundRain(double v)
{
    return std::isnan(v) ? v : std::round(v * 1e6) / 1e6;
}

} // namespace

int observedInterval(const QList<Observation> &records)
{
    QHash<qint64, int> steps;
    for (qsizetype i = 1; i < records.size(); ++i) {
        const qint64 minutes =
            std::llround(records.at(i - 1).time.secsTo(records.at(i).time) / 60.0);
        if (minutes > 0)
            ++steps[minutes];
    }
    qint64 best = 0;
    int bestCount = 0;
    for (auto it = steps.cbegin(); it != steps.cend(); ++it) {
        if (it.value() > bestCount || (it.value() == bestCount && it.key() < best)) {
            best = it.key();
            bestCount = it.value();
        }
    }
    return int(best);
}

MonthSummary summarizeMonth(int year, int month, const QList<Observation> &records,
                            const SummaryUnits &units, int intervalMinutes, const QDateTime &now)
{
    MonthSummary m;
    m.year = year;
    m.month = month;
    const QDate first(year, month, 1);
    const int dayCount = first.daysInMonth();

    struct Work
    {
        DaySummary day;
        Mean temperature;
        Mean wind;
        DirectionMean direction;
    };
    QList<Work> work(dayCount);
    DirectionMean monthDirection;

    double lastTotal = NAN;
    for (const Observation &o : records) {
        const QDate date = o.time.date();
        const bool inMonth = date.year() == year && date.month() == month;
        // Rain is what the running total gained since the record before, even across a gap
        // or from the day before; a total that fell was reset at the console and counts
        // from nothing.
        double rain = NAN;
        if (!std::isnan(o.rainTotal)) {
            if (!std::isnan(lastTotal))
                rain = o.rainTotal >= lastTotal ? o.rainTotal - lastTotal : o.rainTotal;
            else
                rain = 0.0;
            lastTotal = o.rainTotal;
        }
        if (!inMonth)
            continue;
        Work &w = work[date.day() - 1];
        ++w.day.records;
        w.temperature.add(o.temperature);
        keepHigher(w.day.high, o.temperature, o.time);
        keepLower(w.day.low, o.temperature, o.time);
        w.wind.add(o.averageSpeed);
        keepHigher(w.day.gust, o.gustSpeed, o.time);
        w.direction.add(o.averageDirection, o.averageSpeed);
        monthDirection.add(o.averageDirection, o.averageSpeed);
        if (!std::isnan(rain))
            w.day.rain = addOrStart(w.day.rain, rain);
    }

    Mean meanTemperature, meanHigh, meanLow, meanWind;
    for (int i = 0; i < dayCount; ++i) {
        Work &w = work[i];
        DaySummary &d = w.day;
        d.date = first.addDays(i);
        const QDateTime start(d.date, QTime(0, 0));
        const QDateTime end = std::min(QDateTime(d.date.addDays(1), QTime(0, 0)), now);
        if (start >= now && d.records == 0)
            continue; // a day still to come
        if (intervalMinutes > 0)
            d.expectedRecords = int(std::max<qint64>(0, start.secsTo(end)) / (intervalMinutes * 60));
        d.meanTemperature = w.temperature.value();
        if (!std::isnan(d.meanTemperature)) {
            d.heatingDegreeDays = std::max(0.0, units.degreeDayBase() - d.meanTemperature);
            d.coolingDegreeDays = std::max(0.0, d.meanTemperature - units.degreeDayBase());
        }
        d.meanWind = w.wind.value();
        d.dominantDirection = w.direction.degrees();
        d.rain = roundRain(d.rain);

        meanTemperature.add(d.meanTemperature);
        meanHigh.add(d.high.value);
        meanLow.add(d.low.value);
        meanWind.add(d.meanWind);
        keepHigher(m.high, d.high.value, d.high.time);
        keepLower(m.low, d.low.value, d.low.time);
        keepHigher(m.gust, d.gust.value, d.gust.time);
        keepHigher(m.wettestDay, d.rain, start);
        if (!std::isnan(d.heatingDegreeDays)) {
            m.heatingDegreeDays = addOrStart(m.heatingDegreeDays, d.heatingDegreeDays);
            m.coolingDegreeDays = addOrStart(m.coolingDegreeDays, d.coolingDegreeDays);
        }
        if (!std::isnan(d.rain))
            m.rain = roundRain(addOrStart(m.rain, d.rain));
        if (d.incomplete())
            ++m.incompleteDays;
        m.days.append(d);
    }
    m.meanTemperature = meanTemperature.value();
    m.meanHigh = meanHigh.value();
    m.meanLow = meanLow.value();
    m.meanWind = meanWind.value();
    m.dominantDirection = monthDirection.degrees();
    return m;
}
