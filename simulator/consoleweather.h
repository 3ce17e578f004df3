// Simulated weather as a console would report it: current values that drift slowly
// with a daily cycle, the console's highs and lows with their times and dates, and its
// alarm set points. Repeatable: the same seed and the same times give the same weather.
#pragma once

#include "acquisition/groupdecoder.h"

#include <QDateTime>
#include <QRandomGenerator>

class ConsoleWeather
{
public:
    ConsoleWeather(quint32 seed, const QDateTime &start);

    // Moves the weather on to `now` (no earlier than the last step).
    void step(const QDateTime &now);

    // The values of one group in the console's units, every field readable.
    DecodedGroup group(SensorGroup group) const;
    QByteArray frame(SensorGroup group) const { return encodeGroup(this->group(group)); }

    double outdoorTemperature() const { return m_outdoorC; }
    double seaLevelPressure() const { return m_seaLevelMb; }

private:
    // A value with the console's record of its highest and lowest and when they were set.
    struct Extremes
    {
        double high = 0;
        double low = 0;
        QDateTime highAt;
        QDateTime lowAt;
        void reset(double v, const QDateTime &at);
        void update(double v, const QDateTime &at);
    };

    double noise(double amplitude);
    void updateRecords();

    QRandomGenerator m_rng;
    QDateTime m_now;
    double m_baseC = 12; // the day's mean outdoor temperature
    double m_outdoorC = 12;
    double m_indoorC = 21;
    double m_outdoorHumidity = 60;
    double m_indoorHumidity = 40;
    double m_seaLevelMb = 1013;
    double m_pressureHourAgo = 1013;
    QDateTime m_pressureMark;
    double m_averageMs = 3;
    double m_gustMs = 5;
    double m_averageDirection = 200;
    double m_gustDirection = 210;
    double m_rainRate = 0;  // mm/h
    double m_rainToday = 0; // mm
    double m_rainYesterday = 0;
    double m_rainTotal = 0;
    QDateTime m_rainReset;

    Extremes m_indoorHumidityRec, m_outdoorHumidityRec;
    Extremes m_indoorTempRec, m_outdoorTempRec;
    Extremes m_indoorDewRec, m_outdoorDewRec;
    Extremes m_windChillRec;
    double m_highWindMs = 0;
    double m_highWindDirection = 0;
    QDateTime m_highWindAt;
};
