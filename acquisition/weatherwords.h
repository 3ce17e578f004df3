// Words and derived quantities shown with the readings: compass words, the pressure
// trend, the console's forecast and the heat index.
#pragma once

#include <QString>
#include <optional>

// One of the eight compass words for a direction in whole degrees ("North" for 337..22,
// also for 360 and beyond).
QString CompassWord(int degrees);
// The word for the trend nibble: bits 0 "Rising", 1 "Steady", 2 "Falling", the highest
// set bit winning; empty when none is set.
QString pressureTrendWord(int bits);
// The word for the forecast nibble: bits 0 "Sunny", 1 "Cloudy", 2 "Partly Cloudy",
// 3 "Rain", the highest set bit winning; empty when none is set.
QString stationForecastWord(int bits);

// The heat index in °F, rounded to one decimal, for a whole temperature in °F and a
// whole relative humidity; none at 70 °F and below.
std::optional<double> HeatIndexF(int temperatureF, int humidity);
// The HeatIndex text: "N/A" at 70 °F and below or while no outdoor humidity is known,
// otherwise the index in °F (D1) or, in Metric units, in °C formatted "00.0".
QString heatIndexText(double outdoorF, std::optional<int> outdoorHumidity, bool metric);
