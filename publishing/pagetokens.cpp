// Page token table: each token with the readings field or computed value it stands for.
#include "publishing/pagetokens.h"

#include "acquisition/readingsrecord.h"
#include "core/datetimeformat.h"

namespace {

enum class Source { Field, DateTime, AverageWord, GustWord, Forecast, Gmt };

struct TokenSource
{
    const char *token;
    Source source;
    const char *field; // readings field for Source::Field
};

// Scan order. The high, low and alarm tokens are quantity letter (T, D, H), place letter
// (I, O) and suffix.
constexpr TokenSource kTokens[] = {
    {"*D/T*", Source::DateTime, nullptr},
    {"*BPS*", Source::Field, "SeaLevelPressure"},
    {"*BPL*", Source::Field, "LocalPressure"},
    {"*BTR*", Source::Field, "PressureTrend"},
    {"*BPR*", Source::Field, "StationForecast"},
    {"*TPO*", Source::Field, "OutdoorTemperature"},
    {"*TPI*", Source::Field, "IndoorTemperature"},
    {"*TIHF*", Source::Field, "IndoorTemperatureHigh"},
    {"*TIHT*", Source::Field, "IndoorTemperatureHighTime"},
    {"*TIHD*", Source::Field, "IndoorTemperatureHighDate"},
    {"*TILF*", Source::Field, "IndoorTemperatureLow"},
    {"*TILT*", Source::Field, "IndoorTemperatureLowTime"},
    {"*TILD*", Source::Field, "IndoorTemperatureLowDate"},
    {"*TIAH*", Source::Field, "IndoorTemperatureAlarmHigh"},
    {"*TIAL*", Source::Field, "IndoorTemperatureAlarmLow"},
    {"*TOHF*", Source::Field, "OutdoorTemperatureHigh"},
    {"*TOHT*", Source::Field, "OutdoorTemperatureHighTime"},
    {"*TOHD*", Source::Field, "OutdoorTemperatureHighDate"},
    {"*TOLF*", Source::Field, "OutdoorTemperatureLow"},
    {"*TOLT*", Source::Field, "OutdoorTemperatureLowTime"},
    {"*TOLD*", Source::Field, "OutdoorTemperatureLowDate"},
    {"*TOAH*", Source::Field, "OutdoorTemperatureAlarmHigh"},
    {"*TOAL*", Source::Field, "OutdoorTemperatureAlarmLow"},
    {"*AWS*", Source::Field, "AverageSpeed"},
    {"*CWS*", Source::Field, "GustSpeed"},
    {"*AWD*", Source::Field, "AverageDirection"},
    {"*CWD*", Source::Field, "GustDirection"},
    {"*AWDA*", Source::AverageWord, nullptr},
    {"*CWDA*", Source::GustWord, nullptr},
    {"*HWD*", Source::Field, "HighWindDirection"},
    {"*HWS*", Source::Field, "HighWindSpeed"},
    {"*HWDT*", Source::Field, "HighWindDate"},
    {"*HWTM*", Source::Field, "HighWindTime"},
    {"*HWSA*", Source::Field, "HighWindSpeedAlarm"},
    {"*DWO*", Source::Field, "OutdoorDewpoint"},
    {"*DWI*", Source::Field, "IndoorDewpoint"},
    {"*DIHF*", Source::Field, "IndoorDewpointHigh"},
    {"*DIHT*", Source::Field, "IndoorDewpointHighTime"},
    {"*DIHD*", Source::Field, "IndoorDewpointHighDate"},
    {"*DILF*", Source::Field, "IndoorDewpointLow"},
    {"*DILT*", Source::Field, "IndoorDewpointLowTime"},
    {"*DILD*", Source::Field, "IndoorDewpointLowDate"},
    {"*DIAH*", Source::Field, "IndoorDewpointAlarmHigh"},
    {"*DIAL*", Source::Field, "IndoorDewpointAlarmLow"},
    {"*DOHF*", Source::Field, "OutdoorDewpointHigh"},
    {"*DOHT*", Source::Field, "OutdoorDewpointHighTime"},
    {"*DOHD*", Source::Field, "OutdoorDewpointHighDate"},
    {"*DOLF*", Source::Field, "OutdoorDewpointLow"},
    {"*DOLT*", Source::Field, "OutdoorDewpointLowTime"},
    {"*DOLD*", Source::Field, "OutdoorDewpointLowDate"},
    {"*DOAH*", Source::Field, "OutdoorDewpointAlarmHigh"},
    {"*DOAL*", Source::Field, "OutdoorDewpointAlarmLow"},
    {"*HMI*", Source::Field, "IndoorHumidity"},
    {"*HMO*", Source::Field, "OutdoorHumidity"},
    {"*HIHF*", Source::Field, "IndoorHumidityHigh"},
    {"*HIHT*", Source::Field, "IndoorHumidityHighTime"},
    {"*HIHD*", Source::Field, "IndoorHumidityHighDate"},
    {"*HILF*", Source::Field, "IndoorHumidityLow"},
    {"*HILT*", Source::Field, "IndoorHumidityLowTime"},
    {"*HILD*", Source::Field, "IndoorHumidityLowDate"},
    {"*HIAH*", Source::Field, "IndoorHumidityAlarmHigh"},
    {"*HIAL*", Source::Field, "IndoorHumidityAlarmLow"},
    {"*HOHF*", Source::Field, "OutdoorHumidityHigh"},
    {"*HOHT*", Source::Field, "OutdoorHumidityHighTime"},
    {"*HOHD*", Source::Field, "OutdoorHumidityHighDate"},
    {"*HOLF*", Source::Field, "OutdoorHumidityLow"},
    {"*HOLT*", Source::Field, "OutdoorHumidityLowTime"},
    {"*HOLD*", Source::Field, "OutdoorHumidityLowDate"},
    {"*HOAH*", Source::Field, "OutdoorHumidityAlarmHigh"},
    {"*HOAL*", Source::Field, "OutdoorHumidityAlarmLow"},
    {"*RNY*", Source::Field, "RainYesterday"},
    {"*RRT*", Source::Field, "RainRate"},
    {"*RTL*", Source::Field, "RainTotal"},
    {"*RRA*", Source::Field, "RainRateAlarm"},
    {"*RET*", Source::Field, "RainResetTime"},
    {"*RRD*", Source::Field, "RainResetDate"},
    {"*WCH*", Source::Field, "WindChillWhole"},
    {"*THI*", Source::Field, "HeatIndex"},
    {"*SWX*", Source::Forecast, nullptr},
    {"*GMT*", Source::Gmt, nullptr},
};

static_assert(std::size(kTokens) == 80, "the page language has 80 tokens");

} // namespace

const QStringList &pageTokenNames()
{
    static const QStringList names = [] {
        QStringList n;
        for (const TokenSource &t : kTokens)
            n << QString::fromLatin1(t.token);
        return n;
    }();
    return names;
}

QString GmtStamp(const QDateTime &nowUtc)
{
    const QDateTime t = nowUtc.toUTC();
    const QDate d = t.date();
    const QTime h = t.time();
    return QStringLiteral("%1, %2 %3 %4 %5:%6:%7 GMT")
        .arg(englishDayName(d.dayOfWeek(), true))
        .arg(d.day(), 2, 10, QLatin1Char('0'))
        .arg(englishMonthName(d.month(), true))
        .arg(d.year(), 4, 10, QLatin1Char('0'))
        .arg(h.hour(), 2, 10, QLatin1Char('0'))
        .arg(h.minute(), 2, 10, QLatin1Char('0'))
        .arg(h.second(), 2, 10, QLatin1Char('0'));
}

TokenValues PageTokenValues(const ReadingsRecord &readings, const QString &forecastText,
                            const QString &gustCompassWord, const QString &averageCompassWord,
                            const QDateTime &nowLocal, const QDateTime &nowUtc)
{
    TokenValues values;
    values.reserve(qsizetype(std::size(kTokens)));
    for (const TokenSource &t : kTokens) {
        QString value;
        switch (t.source) {
        case Source::Field:
            value = readings.text(QString::fromLatin1(t.field)).trimmed();
            break;
        case Source::DateTime:
            value = generalDate(nowLocal); // the one value that is not trimmed
            break;
        case Source::AverageWord:
            value = averageCompassWord;
            break;
        case Source::GustWord:
            value = gustCompassWord;
            break;
        case Source::Forecast:
            value = forecastText.trimmed();
            break;
        case Source::Gmt:
            value = GmtStamp(nowUtc).trimmed();
            break;
        }
        values.append({QString::fromLatin1(t.token), value});
    }
    return values;
}
