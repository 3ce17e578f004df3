// Group summaries and their rate limit.
#include "app/groupsummary.h"

#include "config/unitcaptions.h"

namespace {

QString shown(const ReadingsRecord &record, const char *field)
{
    const QString text = record.text(QLatin1String(field)).trimmed();
    return text.isEmpty() ? QStringLiteral("-") : text;
}

} // namespace

QString groupSummary(SensorGroup group, const ReadingsRecord &r, int units)
{
    const auto caption = [units](const char *window, const char *label) {
        return unitCaption(QLatin1String(window), QLatin1String(label), units);
    };
    switch (group) {
    case SensorGroup::Humidity:
        return QStringLiteral("humidity: outdoor %1 %, indoor %2 %")
            .arg(shown(r, "OutdoorHumidity"), shown(r, "IndoorHumidity"));
    case SensorGroup::Temperature: {
        const QString deg = caption("Temperature", "Label4");
        return QStringLiteral("temperature: outdoor %1 %2, indoor %3 %2")
            .arg(shown(r, "OutdoorTemperature"), deg, shown(r, "IndoorTemperature"));
    }
    case SensorGroup::BarometerDewpoint: {
        const QString deg = caption("Dewpoint", "Label4");
        return QStringLiteral("barometer: %1 %2 %3, dewpoint outdoor %4 %5, indoor %6 %5")
            .arg(shown(r, "SeaLevelPressure"), caption("Barometer", "Label5"),
                 shown(r, "PressureTrend"), shown(r, "OutdoorDewpoint"), deg,
                 shown(r, "IndoorDewpoint"));
    }
    case SensorGroup::Rain: {
        const QString depth = caption("Rain", "Label7");
        return QStringLiteral("rain: rate %1 %2, total %3 %4, yesterday %5 %4")
            .arg(shown(r, "RainRate"), caption("Rain", "Label9"), shown(r, "RainTotal"), depth,
                 shown(r, "RainYesterday"));
    }
    case SensorGroup::Wind: {
        const QString speed = caption("Wind", "Label5");
        return QStringLiteral("wind: gust %1 %2 %3, average %4 %2 %5, chill %6 %7")
            .arg(shown(r, "GustSpeed"), speed, shown(r, "GustDirectionWord"),
                 shown(r, "AverageSpeed"), shown(r, "AverageDirectionWord"), shown(r, "WindChill"),
                 caption("Wind", "Label25"));
    }
    }
    return {};
}

bool SummaryThrottle::allow(SensorGroup group, qint64 monotonicMs)
{
    const auto it = m_last.constFind(int(group));
    if (it != m_last.cend() && monotonicMs - it.value() < m_periodMs)
        return false;
    m_last.insert(int(group), monotonicMs);
    return true;
}
