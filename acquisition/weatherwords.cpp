// Compass, trend and forecast words, and the heat index.
#include "acquisition/weatherwords.h"

#include "acquisition/conversions.h"
#include "acquisition/textforms.h"

QString CompassWord(int d)
{
    // Strict comparisons as in the console tables; the bounds overlap nowhere and leave
    // no integer uncovered.
    if (d > 336 || d < 23)
        return QStringLiteral("North");
    if (d < 68)
        return QStringLiteral("NorthEast");
    if (d < 113)
        return QStringLiteral("East");
    if (d < 157)
        return QStringLiteral("SouthEast");
    if (d < 203)
        return QStringLiteral("South");
    if (d < 248)
        return QStringLiteral("SouthWest");
    if (d < 293)
        return QStringLiteral("West");
    return QStringLiteral("NorthWest");
}

namespace {

QString lastSetBitWord(int bits, std::initializer_list<const char *> words)
{
    QString word;
    int bit = 0;
    for (const char *w : words) {
        if (bits & (1 << bit))
            word = QLatin1String(w);
        ++bit;
    }
    return word;
}

} // namespace

QString pressureTrendWord(int bits)
{
    return lastSetBitWord(bits, {"Rising", "Steady", "Falling"});
}

QString stationForecastWord(int bits)
{
    return lastSetBitWord(bits, {"Sunny", "Cloudy", "Partly Cloudy", "Rain"});
}

std::optional<double> HeatIndexF(int temperatureF, int humidity)
{
    if (temperatureF <= 70)
        return std::nullopt;
    // The Rothfusz regression of the National Weather Service.
    const double t = temperatureF;
    const double rh = humidity;
    const double hi = -42.379 + 2.04901523 * t + 10.14333127 * rh - 0.22475541 * t * rh -
                      0.00683783 * t * t - 0.05481717 * rh * rh + 0.00122874 * t * t * rh +
                      0.00085282 * t * rh * rh - 0.00000199 * t * t * rh * rh;
    return formatAsNumber(hi, 1);
}

QString heatIndexText(double outdoorF, std::optional<int> outdoorHumidity, bool metric)
{
    const auto hi =
        outdoorHumidity ? HeatIndexF(int(roundWhole(outdoorF)), *outdoorHumidity) : std::nullopt;
    if (!hi)
        return QStringLiteral("N/A");
    return metric ? zeroZeroPointZeroText(fahrenheitToCelsius(*hi)) : oneDecimalText(*hi);
}
