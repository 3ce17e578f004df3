// The readings as numbers in fixed units.
#include "sharing/weatherreadings.h"

#include "acquisition/conversions.h"
#include "acquisition/readingnumber.h"

#include <cmath>

namespace {

using F = SharedField;
using G = SensorGroup;
using Q = SharedQuantity;

double inchesHgToHectopascals(double inHg)
{
    return inHg / 0.02953;
}

double roundTo(double v, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return std::round(v * scale) / scale;
}

// English texts are converted back with the factors they were made with; rounding to the
// console's own resolution then gives the value it sent.
double toFixedUnit(Q quantity, double v, bool metric)
{
    if (metric)
        return v;
    switch (quantity) {
    case Q::Temperature:
        return fahrenheitToCelsius(v);
    case Q::Pressure:
        return inchesHgToHectopascals(v);
    case Q::Speed:
        return mphToMetresPerSecond(v);
    case Q::Rain:
    case Q::RainRate:
        return inchesToMillimetres(v);
    case Q::Humidity:
    case Q::Direction:
        break;
    }
    return v;
}

} // namespace

const QList<SharedFieldInfo> &sharedFields()
{
    static const QList<SharedFieldInfo> table{
        {F::OutdoorTemperature, "OutdoorTemperature", G::Temperature, Q::Temperature,
         "outdoor_temperature", "Outdoor temperature", 1},
        {F::IndoorTemperature, "IndoorTemperature", G::Temperature, Q::Temperature,
         "indoor_temperature", "Indoor temperature", 1},
        {F::OutdoorHumidity, "OutdoorHumidity", G::Humidity, Q::Humidity, "outdoor_humidity",
         "Outdoor humidity", 0},
        {F::IndoorHumidity, "IndoorHumidity", G::Humidity, Q::Humidity, "indoor_humidity",
         "Indoor humidity", 0},
        {F::OutdoorDewpoint, "OutdoorDewpoint", G::BarometerDewpoint, Q::Temperature,
         "outdoor_dewpoint", "Outdoor dewpoint", 0},
        {F::IndoorDewpoint, "IndoorDewpoint", G::BarometerDewpoint, Q::Temperature,
         "indoor_dewpoint", "Indoor dewpoint", 0},
        {F::SeaLevelPressure, "SeaLevelPressure", G::BarometerDewpoint, Q::Pressure,
         "sea_level_pressure", "Sea-level pressure", 1},
        {F::LocalPressure, "LocalPressure", G::BarometerDewpoint, Q::Pressure, "local_pressure",
         "Station pressure", 0},
        {F::RainRate, "RainRate", G::Rain, Q::RainRate, "rain_rate", "Rain rate", 0},
        {F::RainTotal, "RainTotal", G::Rain, Q::Rain, "rain_total", "Rain total", 0},
        {F::RainYesterday, "RainYesterday", G::Rain, Q::Rain, "rain_yesterday", "Rain yesterday",
         0},
        {F::GustSpeed, "GustSpeed", G::Wind, Q::Speed, "gust_speed", "Wind gust", 1},
        {F::GustDirection, "GustDirection", G::Wind, Q::Direction, "gust_direction",
         "Wind gust direction", 0},
        {F::AverageSpeed, "AverageSpeed", G::Wind, Q::Speed, "average_speed", "Wind speed", 1},
        {F::AverageDirection, "AverageDirection", G::Wind, Q::Direction, "average_direction",
         "Wind direction", 0},
        {F::WindChill, "WindChill", G::Wind, Q::Temperature, "wind_chill", "Wind chill", 0},
        {F::HeatIndex, "HeatIndex", G::Temperature, Q::Temperature, "heat_index", "Heat index", 1},
    };
    return table;
}

const SharedFieldInfo &sharedFieldInfo(SharedField field)
{
    return sharedFields()[int(field)];
}

QString groupKey(SensorGroup group)
{
    switch (group) {
    case G::Humidity:
        return QStringLiteral("humidity");
    case G::Temperature:
        return QStringLiteral("temperature");
    case G::BarometerDewpoint:
        return QStringLiteral("barometer");
    case G::Rain:
        return QStringLiteral("rain");
    case G::Wind:
        return QStringLiteral("wind");
    }
    return {};
}

QString unitSymbol(SharedQuantity quantity)
{
    switch (quantity) {
    case Q::Temperature:
        return QStringLiteral("°C");
    case Q::Humidity:
        return QStringLiteral("%");
    case Q::Pressure:
        return QStringLiteral("hPa");
    case Q::Speed:
        return QStringLiteral("m/s");
    case Q::Direction:
        return QStringLiteral("°");
    case Q::Rain:
        return QStringLiteral("mm");
    case Q::RainRate:
        return QStringLiteral("mm/h");
    }
    return {};
}

bool WeatherReadings::isEmpty() const
{
    for (const auto &v : values) {
        if (v)
            return false;
    }
    return true;
}

WeatherReadings readingsFromRecord(const ReadingsRecord &record, int displayUnits)
{
    WeatherReadings out;
    const bool metric = displayUnits != 0;
    for (const SharedFieldInfo &info : sharedFields()) {
        const auto n = readingNumber(record.text(QLatin1String(info.recordField)));
        if (n)
            out[info.field] = roundTo(toFixedUnit(info.quantity, *n, metric), info.decimals);
    }
    return out;
}

void RainHistory::add(const QDateTime &time, double totalMm)
{
    // Frames repeat the same total every few seconds; one unchanged sample a minute is
    // enough to date a baseline.
    if (!m_samples.isEmpty() && m_samples.last().total == totalMm &&
        m_samples.last().time.secsTo(time) < 60)
        return;
    m_samples.append({time, totalMm});
    const QDateTime oldest = time.addSecs(-25 * 3600);
    while (m_samples.size() > 1 && m_samples.first().time < oldest)
        m_samples.removeFirst();
}

std::optional<double> RainHistory::rainSince(const QDateTime &from, const QDateTime &now) const
{
    // The baseline is the last sample at or before `from`.
    int first = -1;
    for (int i = 0; i < m_samples.size() && m_samples[i].time <= from; ++i)
        first = i;
    if (first < 0)
        return std::nullopt;
    double rain = 0;
    for (int i = first + 1; i < m_samples.size() && m_samples[i].time <= now; ++i)
        rain += std::max(0.0, m_samples[i].total - m_samples[i - 1].total);
    return rain;
}

RainAmounts rainAmounts(const RainHistory &history, const QDateTime &now)
{
    RainAmounts out;
    out.lastHour = history.rainSince(now.addSecs(-3600), now);
    out.last24Hours = history.rainSince(now.addSecs(-24 * 3600), now);
    out.sinceMidnight = history.rainSince(QDateTime(now.date(), QTime(0, 0)), now);
    return out;
}
