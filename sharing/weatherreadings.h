// The readings as numbers in fixed units, whatever units the display uses: the one form
// every sharing service starts from.
#pragma once

#include "acquisition/readingsrecord.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <array>
#include <optional>

// What a reading measures, and so its fixed unit.
enum class SharedQuantity {
    Temperature, // °C
    Humidity,    // %
    Pressure,    // hPa
    Speed,       // m/s
    Direction,   // degrees
    Rain,        // mm
    RainRate,    // mm/h
};

// The readings that are shared; the order is that of the table below.
enum class SharedField {
    OutdoorTemperature,
    IndoorTemperature,
    OutdoorHumidity,
    IndoorHumidity,
    OutdoorDewpoint,
    IndoorDewpoint,
    SeaLevelPressure,
    LocalPressure,
    RainRate,
    RainTotal,
    RainYesterday,
    GustSpeed,
    GustDirection,
    AverageSpeed,
    AverageDirection,
    WindChill,
    HeatIndex,
};
constexpr int SharedFieldCount = int(SharedField::HeatIndex) + 1;

struct SharedFieldInfo
{
    SharedField field;
    const char *recordField; // the readings record's field name
    SensorGroup group;
    SharedQuantity quantity;
    const char *key;     // JSON key and topic part: "outdoor_temperature"
    const char *caption; // "Outdoor temperature"
    int decimals;        // the console's resolution in the fixed unit
};

const QList<SharedFieldInfo> &sharedFields();
const SharedFieldInfo &sharedFieldInfo(SharedField field);
// "humidity", "temperature", "barometer", "rain", "wind": the topic of a group.
QString groupKey(SensorGroup group);
// "°C", "%", "hPa", "m/s", "°", "mm", "mm/h".
QString unitSymbol(SharedQuantity quantity);

// One value per shared field; none where the station has not sent it.
struct WeatherReadings
{
    std::array<std::optional<double>, SharedFieldCount> values{};

    std::optional<double> operator[](SharedField f) const { return values[size_t(f)]; }
    std::optional<double> &operator[](SharedField f) { return values[size_t(f)]; }
    bool isEmpty() const;
};

// The record's texts, read as numbers and converted from the display units they were
// written in (`displayUnits` 0 English, otherwise metric) to the fixed units, rounded to
// what the console resolves. A text that is not a number ("N/A", empty) gives none.
WeatherReadings readingsFromRecord(const ReadingsRecord &record, int displayUnits);

// Rain over a span of time from the console's running rain total. The total only grows
// until the console's rain counter is reset, so the amount is the sum of the rises between
// samples; a fall is a reset, not negative rain.
class RainHistory
{
public:
    // A sample of the total in mm; samples older than 25 hours are dropped.
    void add(const QDateTime &time, double totalMm);
    // The rain since `from`, or none when the samples do not reach back that far.
    std::optional<double> rainSince(const QDateTime &from, const QDateTime &now) const;

private:
    struct Sample
    {
        QDateTime time;
        double total = 0;
    };
    QList<Sample> m_samples;
};

// The rain amounts the weather networks ask for, in mm.
struct RainAmounts
{
    std::optional<double> lastHour;
    std::optional<double> last24Hours;
    std::optional<double> sinceMidnight; // local midnight
};
RainAmounts rainAmounts(const RainHistory &history, const QDateTime &now);
