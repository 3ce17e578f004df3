// The simulated console's weather.
#include "simulator/consoleweather.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double Pi = 3.14159265358979323846;

// Magnus formula; the console reports whole degrees and its field carries no sign.
double dewpoint(double celsius, double humidity)
{
    const double a = 17.62;
    const double b = 243.12;
    const double g = std::log(std::max(humidity, 1.0) / 100.0) + a * celsius / (b + celsius);
    return std::clamp(b * g / (a - g), 0.0, 99.0);
}

// Wind chill by the 2001 North American formula, applying at 10 °C and below with wind
// above 4.8 km/h; otherwise the air temperature.
double windChill(double celsius, double metresPerSecond)
{
    const double kmh = metresPerSecond * 3.6;
    if (celsius > 10 || kmh <= 4.8)
        return celsius;
    const double v = std::pow(kmh, 0.16);
    return 13.12 + 0.6215 * celsius - 11.37 * v + 0.3965 * celsius * v;
}

// The mean temperature of the season (northern mid-latitudes): about 2 °C in late
// January, 22 °C in late July.
double seasonalMeanC(const QDate &date)
{
    return 12.0 - 10.0 * std::cos(2 * Pi * (date.dayOfYear() - 20) / 365.25);
}

double tenths(double v)
{
    return std::round(v * 10.0) / 10.0;
}

RawValue number(double v)
{
    RawValue r;
    r.number = v;
    return r;
}

RawValue timeOf(const QDateTime &at)
{
    RawValue r;
    r.hour = at.time().hour();
    r.minute = at.time().minute();
    return r;
}

RawValue dateOf(const QDateTime &at)
{
    RawValue r;
    r.month = at.date().month();
    r.day = at.date().day();
    return r;
}

} // namespace

void ConsoleWeather::Extremes::reset(double v, const QDateTime &at)
{
    high = low = v;
    highAt = lowAt = at;
}

void ConsoleWeather::Extremes::update(double v, const QDateTime &at)
{
    if (v > high) {
        high = v;
        highAt = at;
    }
    if (v < low) {
        low = v;
        lowAt = at;
    }
}

ConsoleWeather::ConsoleWeather(quint32 seed, const QDateTime &start) : m_rng(seed), m_now(start)
{
    m_baseC = seasonalMeanC(start.date()) + m_rng.bounded(8.0) - 4.0;
    m_indoorC = 20 + m_rng.bounded(3.0);
    m_outdoorHumidity = 50 + m_rng.bounded(30.0);
    m_indoorHumidity = 35 + m_rng.bounded(15.0);
    m_seaLevelMb = 1000 + m_rng.bounded(30.0);
    m_pressureHourAgo = m_seaLevelMb;
    m_pressureMark = start;
    m_averageMs = 1 + m_rng.bounded(6.0);
    m_gustMs = m_averageMs + 1;
    m_averageDirection = m_rng.bounded(360.0);
    m_gustDirection = m_averageDirection;
    m_rainTotal = m_rng.bounded(400);
    m_rainYesterday = m_rng.bounded(3) == 0 ? m_rng.bounded(12) : 0;
    m_rainReset = start.addDays(-30 - m_rng.bounded(60));
    step(start);
    m_indoorHumidityRec.reset(std::round(m_indoorHumidity), start);
    m_outdoorHumidityRec.reset(std::round(m_outdoorHumidity), start);
    m_indoorTempRec.reset(tenths(m_indoorC), start);
    m_outdoorTempRec.reset(tenths(m_outdoorC), start);
    m_indoorDewRec.reset(std::round(dewpoint(m_indoorC, m_indoorHumidity)), start);
    m_outdoorDewRec.reset(std::round(dewpoint(m_outdoorC, m_outdoorHumidity)), start);
    m_windChillRec.reset(std::round(windChill(m_outdoorC, m_averageMs)), start);
    m_highWindMs = tenths(m_gustMs);
    m_highWindDirection = std::round(m_gustDirection);
    m_highWindAt = start;
}

double ConsoleWeather::noise(double amplitude)
{
    return (m_rng.generateDouble() * 2.0 - 1.0) * amplitude;
}

void ConsoleWeather::step(const QDateTime &now)
{
    const double seconds = std::clamp(double(m_now.msecsTo(now)) / 1000.0, 0.0, 3600.0);
    if (now.date() != m_now.date()) {
        m_rainYesterday = std::round(m_rainToday);
        m_rainToday = 0;
    }
    m_now = now;
    const double minutes = seconds / 60.0;
    const double hour = now.time().hour() + now.time().minute() / 60.0;

    // Warmest mid-afternoon, coolest before dawn; the mean itself wanders a little.
    const double season = seasonalMeanC(now.date());
    m_baseC = std::clamp(m_baseC + noise(0.02 * minutes), season - 6.0, season + 6.0);
    const double cycle = std::sin(2 * Pi * (hour - 9.0) / 24.0);
    m_outdoorC = std::clamp(m_baseC + 6 * cycle + noise(0.05), -39.0, 49.0);
    m_indoorC = std::clamp(m_indoorC + noise(0.02 * std::sqrt(minutes + 1)), 17.0, 26.0);
    m_outdoorHumidity = std::clamp(m_outdoorHumidity - 8 * cycle * 0.01 * minutes +
                                       noise(0.2 * std::sqrt(minutes + 1)),
                                   15.0, 98.0);
    m_indoorHumidity =
        std::clamp(m_indoorHumidity + noise(0.1 * std::sqrt(minutes + 1)), 25.0, 60.0);

    m_seaLevelMb = std::clamp(m_seaLevelMb + noise(0.03 * std::sqrt(minutes + 1)), 975.0, 1045.0);
    if (m_pressureMark.secsTo(now) >= 3600) {
        m_pressureHourAgo = m_seaLevelMb;
        m_pressureMark = now;
    }

    m_averageMs = std::clamp(m_averageMs + noise(0.2 * std::sqrt(minutes + 1)), 0.0, 25.0);
    m_gustMs = std::min(m_averageMs + m_rng.bounded(4.0), 60.0);
    m_averageDirection = std::fmod(m_averageDirection + noise(5) + 360.0, 360.0);
    m_gustDirection = std::fmod(m_averageDirection + noise(25) + 360.0, 360.0);

    const bool raining = m_seaLevelMb < 1005;
    m_rainRate = raining ? std::clamp(m_rainRate + noise(1.0), 0.5, 30.0) : 0.0;
    m_rainToday += m_rainRate * seconds / 3600.0;
    m_rainTotal = std::min(m_rainTotal + m_rainRate * seconds / 3600.0, 9999.0);

    updateRecords();
}

void ConsoleWeather::updateRecords()
{
    m_indoorHumidityRec.update(std::round(m_indoorHumidity), m_now);
    m_outdoorHumidityRec.update(std::round(m_outdoorHumidity), m_now);
    m_indoorTempRec.update(tenths(m_indoorC), m_now);
    m_outdoorTempRec.update(tenths(m_outdoorC), m_now);
    m_indoorDewRec.update(std::round(dewpoint(m_indoorC, m_indoorHumidity)), m_now);
    m_outdoorDewRec.update(std::round(dewpoint(m_outdoorC, m_outdoorHumidity)), m_now);
    m_windChillRec.update(std::round(windChill(m_outdoorC, m_averageMs)), m_now);
    if (tenths(m_gustMs) > m_highWindMs) {
        m_highWindMs = tenths(m_gustMs);
        m_highWindDirection = std::round(m_gustDirection);
        m_highWindAt = m_now;
    }
}

DecodedGroup ConsoleWeather::group(SensorGroup g) const
{
    DecodedGroup d;
    d.layout = &layoutForGroup(g);
    // Highs, lows, their times and dates for one prefix ("IndoorHumidity", ...).
    const auto extremes = [&d](const char *prefix, const Extremes &e) {
        const QByteArray p(prefix);
        d.set((p + "High").constData(), number(e.high));
        d.set((p + "HighTime").constData(), timeOf(e.highAt));
        d.set((p + "HighDate").constData(), dateOf(e.highAt));
        d.set((p + "Low").constData(), number(e.low));
        d.set((p + "LowTime").constData(), timeOf(e.lowAt));
        d.set((p + "LowDate").constData(), dateOf(e.lowAt));
    };
    switch (g) {
    case SensorGroup::Humidity:
        d.set("IndoorHumidity", number(std::round(m_indoorHumidity)));
        extremes("IndoorHumidity", m_indoorHumidityRec);
        d.set("IndoorHumidityAlarmHigh", number(70));
        d.set("IndoorHumidityAlarmLow", number(25));
        d.set("OutdoorHumidity", number(std::round(m_outdoorHumidity)));
        extremes("OutdoorHumidity", m_outdoorHumidityRec);
        d.set("OutdoorHumidityAlarmHigh", number(95));
        d.set("OutdoorHumidityAlarmLow", number(20));
        break;
    case SensorGroup::Temperature:
        d.set("IndoorTemperature", number(tenths(m_indoorC)));
        extremes("IndoorTemperature", m_indoorTempRec);
        d.set("IndoorTemperatureAlarmHigh", number(85));
        d.set("IndoorTemperatureAlarmLow", number(55));
        d.set("OutdoorTemperature", number(tenths(m_outdoorC)));
        extremes("OutdoorTemperature", m_outdoorTempRec);
        d.set("OutdoorTemperatureAlarmHigh", number(100));
        d.set("OutdoorTemperatureAlarmLow", number(-10));
        break;
    case SensorGroup::BarometerDewpoint: {
        d.set("LocalPressure", number(std::round(m_seaLevelMb - 12)));
        d.set("SeaLevelPressure", number(tenths(m_seaLevelMb)));
        RawValue trend;
        const double change = m_seaLevelMb - m_pressureHourAgo;
        trend.bits = change > 0.5 ? 0x1 : change < -0.5 ? 0x4 : 0x2;
        d.set("PressureTrend", trend);
        RawValue forecast;
        forecast.bits = m_seaLevelMb >= 1020   ? 0x1
                        : m_seaLevelMb >= 1012 ? 0x4
                        : m_seaLevelMb >= 1005 ? 0x2
                                               : 0x8;
        d.set("StationForecast", forecast);
        d.set("IndoorDewpoint", number(std::round(dewpoint(m_indoorC, m_indoorHumidity))));
        extremes("IndoorDewpoint", m_indoorDewRec);
        d.set("OutdoorDewpoint", number(std::round(dewpoint(m_outdoorC, m_outdoorHumidity))));
        extremes("OutdoorDewpoint", m_outdoorDewRec);
        for (const char *alarm : {"IndoorDewpointAlarmHigh", "IndoorDewpointAlarmLow",
                                  "OutdoorDewpointAlarmHigh", "OutdoorDewpointAlarmLow"})
            d.set(alarm, RawValue{});
        break;
    }
    case SensorGroup::Rain:
        d.set("RainRate", number(std::round(m_rainRate)));
        d.set("RainYesterday", number(m_rainYesterday));
        d.set("RainTotal", number(std::floor(m_rainTotal)));
        d.set("RainResetTime", timeOf(m_rainReset));
        d.set("RainResetDate", dateOf(m_rainReset));
        d.set("RainRateAlarm", number(1.5));
        break;
    case SensorGroup::Wind:
        d.set("GustSpeed", number(tenths(m_gustMs)));
        d.set("GustDirection", number(std::fmod(std::round(m_gustDirection), 360.0)));
        d.set("AverageSpeed", number(tenths(m_averageMs)));
        d.set("AverageDirection", number(std::fmod(std::round(m_averageDirection), 360.0)));
        d.set("HighWindSpeed", number(m_highWindMs));
        d.set("HighWindDirection", number(std::fmod(m_highWindDirection, 360.0)));
        d.set("HighWindTime", timeOf(m_highWindAt));
        d.set("HighWindDate", dateOf(m_highWindAt));
        d.set("HighWindSpeedAlarm", number(45));
        d.set("WindChill", number(std::round(windChill(m_outdoorC, m_averageMs))));
        d.set("WindChillLow", number(m_windChillRec.low));
        d.set("WindChillLowTime", timeOf(m_windChillRec.lowAt));
        d.set("WindChillLowDate", dateOf(m_windChillRec.lowAt));
        break;
    }
    return d;
}
