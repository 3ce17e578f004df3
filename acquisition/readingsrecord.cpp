// The readings record.
#include "readingsrecord.h"

void ReadingsRecord::applyGroup(SensorGroup group, const QHash<QString, QString> &texts,
                                const GaugeValues &gauges)
{
    for (auto it = texts.cbegin(); it != texts.cend(); ++it)
        m_texts.insert(it.key(), it.value());
    applyGauges(gauges);
    emit groupChanged(group);
}

void ReadingsRecord::applyTexts(SensorGroup group, const QList<std::pair<QString, QString>> &texts,
                                const GaugeValues &gauges)
{
    if (m_texts.isEmpty())
        m_texts.reserve(fieldNames().size());
    for (const auto &t : texts)
        m_texts.insert(t.first, t.second);
    applyGauges(gauges);
    emit groupChanged(group);
}

void ReadingsRecord::applyGauges(const GaugeValues &gauges)
{
    if (gauges.seaLevelInHg)
        m_gauges.seaLevelInHg = gauges.seaLevelInHg;
    if (gauges.outdoorTempF)
        m_gauges.outdoorTempF = gauges.outdoorTempF;
    if (gauges.gustMph)
        m_gauges.gustMph = gauges.gustMph;
    if (gauges.gustDirection)
        m_gauges.gustDirection = gauges.gustDirection;
}

const QStringList &ReadingsRecord::fieldNames()
{
    static const QStringList names = [] {
        QStringList n;
        // Humidity, temperature and dewpoint windows share one layout of fields.
        for (const char *q : {"Humidity", "Temperature", "Dewpoint"}) {
            for (const char *side : {"Indoor", "Outdoor"}) {
                const QString base = QLatin1String(side) + QLatin1String(q);
                n << base << base + QLatin1String("High") << base + QLatin1String("HighTime")
                  << base + QLatin1String("HighDate") << base + QLatin1String("Low")
                  << base + QLatin1String("LowTime") << base + QLatin1String("LowDate")
                  << base + QLatin1String("AlarmHigh") << base + QLatin1String("AlarmLow");
            }
        }
        n << QStringLiteral("LocalPressure") << QStringLiteral("SeaLevelPressure")
          << QStringLiteral("PressureTrend") << QStringLiteral("StationForecast");
        n << QStringLiteral("RainYesterday") << QStringLiteral("RainTotal")
          << QStringLiteral("RainRate") << QStringLiteral("RainRateAlarm")
          << QStringLiteral("RainResetDate") << QStringLiteral("RainResetTime");
        n << QStringLiteral("GustSpeed") << QStringLiteral("GustDirection")
          << QStringLiteral("AverageSpeed") << QStringLiteral("AverageDirection")
          << QStringLiteral("HighWindTime") << QStringLiteral("HighWindDate")
          << QStringLiteral("HighWindDirection") << QStringLiteral("HighWindSpeed")
          << QStringLiteral("HighWindSpeedAlarm") << QStringLiteral("WindChill")
          << QStringLiteral("WindChillLow") << QStringLiteral("WindChillLowDate")
          << QStringLiteral("WindChillLowTime");
        n << QStringLiteral("HeatIndex") << QStringLiteral("AverageDirectionWord")
          << QStringLiteral("GustDirectionWord") << QStringLiteral("GustSpeedCaption")
          << QStringLiteral("WindChillWhole") << QStringLiteral("SeaLevelPressureCaption")
          << QStringLiteral("OutdoorTemperatureCaption");
        return n;
    }();
    return names;
}

QString ReadingsRecord::currentFieldName(const QString &name)
{
    static const QHash<QString, QString> former{
        {QStringLiteral("Wx.Text14"), QStringLiteral("GustDirectionWord")},
        {QStringLiteral("Wx.Text15"), QStringLiteral("GustSpeedCaption")},
        {QStringLiteral("Wx.Text17"), QStringLiteral("WindChillWhole")},
        {QStringLiteral("Wx.Text21"), QStringLiteral("SeaLevelPressureCaption")},
        {QStringLiteral("Wx.Text22"), QStringLiteral("OutdoorTemperatureCaption")},
    };
    return former.value(name, name);
}
