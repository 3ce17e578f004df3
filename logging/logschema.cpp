// The log tables and the conversion of readings into column values.
#include "logging/logschema.h"

#include "acquisition/readingnumber.h"
#include "acquisition/readingsrecord.h"
#include "core/datetimeformat.h"

namespace {

using F = LogForm;

const std::array<LogColumn, kOutdoorColumnCount> kOutdoor = {{
    {"Date_Time", "", F::Now},
    {"Gust Wind Direction", "GustDirection", F::Int16},
    {"Gust Wind Speed", "GustSpeed", F::Number},
    {"Average Wind Direction", "AverageDirection", F::Int16},
    {"Average Wind Speed", "AverageSpeed", F::Number},
    {"High Wind Direction", "HighWindDirection", F::Int16},
    {"High Wind Speed", "HighWindSpeed", F::Number},
    {"High Wind Date", "HighWindDate", F::Text},
    {"High Wind Time", "HighWindTime", F::Text},
    {"SeaLevel Barometric Pressure", "SeaLevelPressure", F::Number},
    {"Barometric Trend", "PressureTrend", F::Text},
    {"Dewpoint", "OutdoorDewpoint", F::Number},
    {"Temperature", "OutdoorTemperature", F::Number},
    {"Humidity", "OutdoorHumidity", F::Number},
    {"Wind Chill", "WindChill", F::Number},
    {"Heat Index", "HeatIndex", F::Number},
    {"Rainfall Yesterday", "RainYesterday", F::Number},
    {"Rainfall Total", "RainTotal", F::Number},
    {"Rainfall Rate", "RainRate", F::Number},
    {"Rainfall Rate Alarm", "RainRateAlarm", F::Number},
    {"Rainfall Reset Date", "RainResetDate", F::Text},
    {"Rainfall Reset Time", "RainResetTime", F::Text},
    {"Temperature High", "OutdoorTemperatureHigh", F::Number},
    {"Temperature High Time", "OutdoorTemperatureHighTime", F::Text},
    {"Temperature High Date", "OutdoorTemperatureHighDate", F::Text},
    {"Temperature Low", "OutdoorTemperatureLow", F::Number},
    {"Temperature Low Time", "OutdoorTemperatureLowTime", F::Text},
    {"Temperature Low Date", "OutdoorTemperatureLowDate", F::Text},
    {"Temperature Alarm High", "OutdoorTemperatureAlarmHigh", F::Number},
    {"Temperature Alarm Low", "OutdoorTemperatureAlarmLow", F::Number},
    {"Dewpoint High", "OutdoorDewpointHigh", F::Number},
    {"Dewpoint High Time", "OutdoorDewpointHighTime", F::Text},
    {"Dewpoint High Date", "OutdoorDewpointHighDate", F::Text},
    {"Dewpoint Low", "OutdoorDewpointLow", F::Number},
    {"Dewpoint Low Time", "OutdoorDewpointLowTime", F::Text},
    {"Dewpoint Low Date", "OutdoorDewpointLowDate", F::Text},
    {"Dewpoint Alarm High", "OutdoorDewpointAlarmHigh", F::Number},
    {"Dewpoint Alarm Low", "OutdoorDewpointAlarmLow", F::Number},
    {"Humidity High", "OutdoorHumidityHigh", F::Number},
    {"Humidity High Time", "OutdoorHumidityHighTime", F::Text},
    {"Humidity High Date", "OutdoorHumidityHighDate", F::Text},
    {"Humidity Low", "OutdoorHumidityLow", F::Number},
    {"Humidity Low Time", "OutdoorHumidityLowTime", F::Text},
    {"Humidity Low Date", "OutdoorHumidityLowDate", F::Text},
    {"Humidity Alarm High", "OutdoorHumidityAlarmHigh", F::Number},
    {"Humidity Alarm Low", "OutdoorHumidityAlarmLow", F::Number},
    {"Local Barometric Pressure", "LocalPressure", F::Number},
    {"Barometric Forecast", "StationForecast", F::Text},
    {"High Wind Speed Alarm", "HighWindSpeedAlarm", F::Number},
    {"Wind Chill Low", "WindChillLow", F::Number},
    {"Wind Chill Date", "WindChillLowDate", F::Text},
    {"Wind Chill Time", "WindChillLowTime", F::Text},
}};

const std::array<LogColumn, kIndoorColumnCount> kIndoor = {{
    {"Date_Time", "", F::Now},
    {"Temperature", "IndoorTemperature", F::Number},
    {"Temperature High", "IndoorTemperatureHigh", F::Number},
    {"Temperature Low", "IndoorTemperatureLow", F::Number},
    {"Temperature High Date", "IndoorTemperatureHighDate", F::Text},
    {"Temperature High Time", "IndoorTemperatureHighTime", F::Text},
    {"Temperature Low Date", "IndoorTemperatureLowDate", F::Text},
    {"Temperature Low time", "IndoorTemperatureLowTime", F::Text},
    {"Temperature Alarm High", "IndoorTemperatureAlarmHigh", F::Number},
    {"Temperature Alarm Low", "IndoorTemperatureAlarmLow", F::Number},
    {"Humidity", "IndoorHumidity", F::Number},
    {"Humidity High", "IndoorHumidityHigh", F::Number},
    {"Humidity Low", "IndoorHumidityLow", F::Number},
    {"Humidity High Date", "IndoorHumidityHighDate", F::Text},
    {"Humidity High Time", "IndoorHumidityHighTime", F::Text},
    {"Humidity Low Date", "IndoorHumidityLowDate", F::Text},
    {"Humidity Low Time", "IndoorHumidityLowTime", F::Text},
    {"Humidity High Alarm", "IndoorHumidityAlarmHigh", F::Number},
    {"Humidity Low Alarm", "IndoorHumidityAlarmLow", F::Number},
    {"Dewpoint", "IndoorDewpoint", F::Number},
    {"Dewpoint High", "IndoorDewpointHigh", F::Number},
    {"Dewpoint Low", "IndoorDewpointLow", F::Number},
    {"Dewpoint High Date", "IndoorDewpointHighDate", F::Text},
    {"Dewpoint High Time", "IndoorDewpointHighTime", F::Text},
    {"Dewpoint Low Date", "IndoorDewpointLowDate", F::Text},
    {"Dewpoint Low Time", "IndoorDewpointLowTime", F::Text},
    {"Dewpoint High Alarm", "IndoorDewpointAlarmHigh", F::Number},
    {"Dewpoint Low Alarm", "IndoorDewpointAlarmLow", F::Number},
}};

QString tableSchema(const QString &table, const LogColumn *columns, int count)
{
    QStringList defs;
    for (int i = 0; i < count; ++i) {
        const LogColumn &c = columns[i];
        const bool numeric = c.form == LogForm::Number || c.form == LogForm::Int16;
        defs << QStringLiteral("\"%1\" %2")
                    .arg(QLatin1String(c.column),
                         numeric ? QStringLiteral("REAL") : QStringLiteral("TEXT"));
    }
    return QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(table, defs.join(QStringLiteral(", ")));
}

} // namespace

QString outdoorTableName()
{
    return QStringLiteral("Outdoor Data");
}

QString indoorTableName()
{
    return QStringLiteral("Indoor Data");
}

const std::array<LogColumn, kOutdoorColumnCount> &outdoorColumns()
{
    return kOutdoor;
}

const std::array<LogColumn, kIndoorColumnCount> &indoorColumns()
{
    return kIndoor;
}

const LogColumn &logColumn(int i)
{
    return i < kOutdoorColumnCount ? kOutdoor[size_t(i)] : kIndoor[size_t(i - kOutdoorColumnCount)];
}

QVariant logValue(const QString &text, LogForm form, const QDateTime &now)
{
    switch (form) {
    case LogForm::Now:
        return generalDate(now);
    case LogForm::Text:
        return text.isEmpty() ? QVariant() : QVariant(text);
    case LogForm::Number: {
        const auto v = readingNumber(text);
        // 15 significant digits, as a double is shown as text: 72.0 -> "72", 29.92 -> "29.92".
        return v ? QVariant(QString::number(*v, 'g', 15)) : QVariant();
    }
    case LogForm::Int16: {
        const auto v = readingNumber(text, ReadingNumberForm::Int16);
        return v ? QVariant(QString::number(int(*v))) : QVariant();
    }
    }
    return {};
}

std::array<QVariant, kLogFieldCount> FillLogFields(const ReadingsRecord &record,
                                                   const QDateTime &now)
{
    std::array<QVariant, kLogFieldCount> values;
    for (int i = 0; i < kLogFieldCount; ++i) {
        const LogColumn &c = logColumn(i);
        values[size_t(i)] = logValue(record.text(QLatin1String(c.field)), c.form, now);
    }
    return values;
}

QStringList logTemplateSchema()
{
    return {tableSchema(outdoorTableName(), kOutdoor.data(), kOutdoorColumnCount),
            tableSchema(indoorTableName(), kIndoor.data(), kIndoorColumnCount)};
}
