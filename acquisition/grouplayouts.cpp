// The field layouts of the five sensor groups.
//
// Every nibble of a numeric field is one decimal digit. Fields are packed nibble by
// nibble, so a field may start in the middle of a byte: in such a "shifted" field the
// nibble of the lower-numbered byte is the less significant. Diagrams show each byte as
// [high|low]; nibble lists below name the digits most significant first.
#include "acquisition/grouplayout.h"

#include <cstring>
#include <initializer_list>

namespace {

using E = Encoding;
using Q = Quantity;

constexpr FieldLayout field(const char *name, Encoding e, Quantity q,
                            std::initializer_list<Nib> nibs, int decimals = 0, int signByte = 0,
                            int signMask = 0)
{
    FieldLayout f{
        name, e, q, quint8(nibs.size()), {}, quint8(decimals), quint8(signByte), quint8(signMask)};
    int i = 0;
    for (const Nib n : nibs)
        f.nibbles[i++] = n;
    return f;
}

// Humidity, 0x8F, 35 bytes, % relative humidity. Bytes 20-31 repeat 8-19 for outdoors.
//
//   0       1..7          8     9     10    11    12    13      14      15      16      17
//  [8F]  [console  ]   [IH ] [IHH] [mm ] [hh ] [dd ] [l1|M ] [m1|l10][h1|m10][d1|h10][M |d10]
//        digits, flags  now   high  ----time---   day  low|month  -----------low time, date---
//
//   18     19     20..31    32..33  34
//  [AHi] [ALo]  outdoor    unused  [sum]
constexpr FieldLayout humidityFields[] = {
    field("IndoorHumidity", E::Digits, Q::Humidity, {H(8), L(8)}),
    field("IndoorHumidityHigh", E::Digits, Q::Humidity, {H(9), L(9)}),
    field("IndoorHumidityHighTime", E::Time, Q::Time, {H(10), L(10), H(11), L(11)}),
    field("IndoorHumidityHighDate", E::Date, Q::Date, {H(12), L(12), L(13)}),
    field("IndoorHumidityLow", E::Digits, Q::Humidity, {L(14), H(13)}),
    field("IndoorHumidityLowTime", E::Time, Q::Time, {L(15), H(14), L(16), H(15)}),
    field("IndoorHumidityLowDate", E::Date, Q::Date, {L(17), H(16), H(17)}),
    field("IndoorHumidityAlarmHigh", E::Digits, Q::Humidity, {H(18), L(18)}),
    field("IndoorHumidityAlarmLow", E::Digits, Q::Humidity, {H(19), L(19)}),
    field("OutdoorHumidity", E::Digits, Q::Humidity, {H(20), L(20)}),
    field("OutdoorHumidityHigh", E::Digits, Q::Humidity, {H(21), L(21)}),
    field("OutdoorHumidityHighTime", E::Time, Q::Time, {H(22), L(22), H(23), L(23)}),
    field("OutdoorHumidityHighDate", E::Date, Q::Date, {H(24), L(24), L(25)}),
    field("OutdoorHumidityLow", E::Digits, Q::Humidity, {L(26), H(25)}),
    field("OutdoorHumidityLowTime", E::Time, Q::Time, {L(27), H(26), L(28), H(27)}),
    field("OutdoorHumidityLowDate", E::Date, Q::Date, {L(29), H(28), H(29)}),
    field("OutdoorHumidityAlarmHigh", E::Digits, Q::Humidity, {H(30), L(30)}),
    field("OutdoorHumidityAlarmLow", E::Digits, Q::Humidity, {H(31), L(31)}),
};

// Temperature, 0x9F, 34 bytes, °C with one decimal; alarm set points whole °F.
// T = [tenths][units][sign|tens]: the third nibble's bit 3 is the sign, bits 2..0 the tens.
// A = [units][tens][sign|..|hundreds]: bit 0 the hundreds, bit 3 the sign where signed.
//
//   1        2        3        4    5    6    7        8        9    10   11   12
//  [u |t ] [t'|s ] [s'|u']  [mm] [hh] [dd] [t"|M ]  [s"|u"]  [mm] [hh] [dd] [a1|M ]
//   indoor now: 1.lo 1.hi 2.lo; high: 2.hi 3.lo 3.hi; low: 7.hi 8.lo 8.hi
//
//   13        14       15       16..30: outdoor, the same pattern from byte 16,
//  [h |a10] [a10|a1] [x |h ]    alarms signed; 30.hi..32 unused; 33 sum
constexpr FieldLayout temperatureFields[] = {
    field("IndoorTemperature", E::Temperature, Q::Temperature, {L(1), H(1), L(2)}),
    field("IndoorTemperatureHigh", E::Temperature, Q::Temperature, {H(2), L(3), H(3)}),
    field("IndoorTemperatureHighTime", E::Time, Q::Time, {H(4), L(4), H(5), L(5)}),
    field("IndoorTemperatureHighDate", E::Date, Q::Date, {H(6), L(6), L(7)}),
    field("IndoorTemperatureLow", E::Temperature, Q::Temperature, {H(7), L(8), H(8)}),
    field("IndoorTemperatureLowTime", E::Time, Q::Time, {H(9), L(9), H(10), L(10)}),
    field("IndoorTemperatureLowDate", E::Date, Q::Date, {H(11), L(11), L(12)}),
    field("IndoorTemperatureAlarmHigh", E::Alarm, Q::TemperatureAlarm, {H(12), L(13), H(13)}),
    field("IndoorTemperatureAlarmLow", E::Alarm, Q::TemperatureAlarm, {L(14), H(14), L(15)}),
    field("OutdoorTemperature", E::Temperature, Q::Temperature, {L(16), H(16), L(17)}),
    field("OutdoorTemperatureHigh", E::Temperature, Q::Temperature, {H(17), L(18), H(18)}),
    field("OutdoorTemperatureHighTime", E::Time, Q::Time, {H(19), L(19), H(20), L(20)}),
    field("OutdoorTemperatureHighDate", E::Date, Q::Date, {H(21), L(21), L(22)}),
    field("OutdoorTemperatureLow", E::Temperature, Q::Temperature, {H(22), L(23), H(23)}),
    field("OutdoorTemperatureLowTime", E::Time, Q::Time, {H(24), L(24), H(25), L(25)}),
    field("OutdoorTemperatureLowDate", E::Date, Q::Date, {H(26), L(26), L(27)}),
    field("OutdoorTemperatureAlarmHigh", E::SignedAlarm, Q::TemperatureAlarm,
          {H(27), L(28), H(28)}),
    field("OutdoorTemperatureAlarmLow", E::SignedAlarm, Q::TemperatureAlarm, {L(29), H(29), L(30)}),
};

// Barometer and dewpoint, 0xAF, 31 bytes; pressures in mb, dewpoints whole °C.
//
//   1          2          3          4          5        6
//  [p10|p1]  [p1k|p100] [s1|s.1]   [s100|s10] [--|s1k] [trend|forecast]
//   local pressure 2.hi 2.lo 1.hi 1.lo; sea level 5.lo 4.hi 4.lo 3.hi 3.lo (last: tenths)
//
//   7     8     9    10   11   12       13        14       15       16
//  [ID ] [IDH] [mm] [hh] [dd] [l1|M ]  [m1|l10]  [h1|m10] [d1|h10] [M |d10]
//   17 unused; 18..27 outdoor dewpoint in the pattern of 7..16; 28..29 unused; 30 sum.
// The console's dewpoint alarm set points are not in this frame: those fields read 0.
constexpr FieldLayout barometerFields[] = {
    field("LocalPressure", E::Digits, Q::LocalPressure, {H(2), L(2), H(1), L(1)}),
    field("SeaLevelPressure", E::Digits, Q::SeaLevelPressure, {L(5), H(4), L(4), H(3), L(3)}, 1),
    field("PressureTrend", E::Bits, Q::Trend, {H(6)}),
    field("StationForecast", E::Bits, Q::Forecast, {L(6)}),
    field("IndoorDewpoint", E::Digits, Q::Dewpoint, {H(7), L(7)}),
    field("IndoorDewpointHigh", E::Digits, Q::Dewpoint, {H(8), L(8)}),
    field("IndoorDewpointHighTime", E::Time, Q::Time, {H(9), L(9), H(10), L(10)}),
    field("IndoorDewpointHighDate", E::Date, Q::Date, {H(11), L(11), L(12)}),
    field("IndoorDewpointLow", E::Digits, Q::Dewpoint, {L(13), H(12)}),
    field("IndoorDewpointLowTime", E::Time, Q::Time, {L(14), H(13), L(15), H(14)}),
    field("IndoorDewpointLowDate", E::Date, Q::Date, {L(16), H(15), H(16)}),
    field("IndoorDewpointAlarmHigh", E::Zero, Q::DewpointAlarm, {}),
    field("IndoorDewpointAlarmLow", E::Zero, Q::DewpointAlarm, {}),
    field("OutdoorDewpoint", E::Digits, Q::Dewpoint, {H(18), L(18)}),
    field("OutdoorDewpointHigh", E::Digits, Q::Dewpoint, {H(19), L(19)}),
    field("OutdoorDewpointHighTime", E::Time, Q::Time, {H(20), L(20), H(21), L(21)}),
    field("OutdoorDewpointHighDate", E::Date, Q::Date, {H(22), L(22), L(23)}),
    field("OutdoorDewpointLow", E::Digits, Q::Dewpoint, {L(24), H(23)}),
    field("OutdoorDewpointLowTime", E::Time, Q::Time, {L(25), H(24), L(26), H(25)}),
    field("OutdoorDewpointLowDate", E::Date, Q::Date, {L(27), H(26), H(27)}),
    field("OutdoorDewpointAlarmHigh", E::Zero, Q::DewpointAlarm, {}),
    field("OutdoorDewpointAlarmLow", E::Zero, Q::DewpointAlarm, {}),
};

// Rain, 0xBF, 14 bytes; amounts whole mm, rate mm/h, rate alarm in/h with one decimal.
//
//   1         2        3        4           5        6           7    8    9    10
//  [r10|r1] [--|r100] [y10|y1] [y1k|y100]  [t10|t1] [t1k|t100]  [mm] [hh] [dd] [--|M]
//   rate                yesterday             total                reset time, date
//
//   11          12
//  [a1|a.1]   [--|a10]   rate alarm 12.lo 11.hi 11.lo; 13 sum
constexpr FieldLayout rainFields[] = {
    field("RainRate", E::Digits, Q::RainAmount, {L(2), H(1), L(1)}),
    field("RainYesterday", E::Digits, Q::RainAmount, {H(4), L(4), H(3), L(3)}),
    field("RainTotal", E::Digits, Q::RainAmount, {H(6), L(6), H(5), L(5)}),
    field("RainResetTime", E::Time, Q::Time, {H(7), L(7), H(8), L(8)}),
    field("RainResetDate", E::Date, Q::Date, {H(9), L(9), L(10)}),
    field("RainRateAlarm", E::Digits, Q::RainRateAlarm, {L(12), H(11), L(11)}, 1),
};

// Wind, 0xCF, 27 bytes; speeds m/s with one decimal, directions whole degrees, wind
// chill whole °C, speed alarm whole mph.
//
//   1         2         3           4 5 6: average      7 8 9: highest speed and its
//  [s1|s.1] [d1|s10]  [d100|d10]   as gust 1 2 3        direction, as gust 1 2 3
//   gust speed 2.lo 1.hi 1.lo; gust direction 3.hi 3.lo 2.hi
//
//   10   11   12   13       14         15    16    17    18   19   20   21
//  [mm] [hh] [dd] [a1|M ]  [h |a10]   [--]  [WC]  [WCL] [mm] [hh] [dd] [..sS|M]
//   high-wind time, date;  speed alarm       chill low  time, date of the low
// Byte 21: bit 5 is the sign of the wind chill, bit 4 that of its low. 22..25 unused.
constexpr FieldLayout windFields[] = {
    field("GustSpeed", E::Digits, Q::WindSpeed, {L(2), H(1), L(1)}, 1),
    field("GustDirection", E::Digits, Q::Direction, {H(3), L(3), H(2)}),
    field("AverageSpeed", E::Digits, Q::WindSpeed, {L(5), H(4), L(4)}, 1),
    field("AverageDirection", E::Digits, Q::Direction, {H(6), L(6), H(5)}),
    field("HighWindSpeed", E::Digits, Q::WindSpeed, {L(8), H(7), L(7)}, 1),
    field("HighWindDirection", E::Digits, Q::Direction, {H(9), L(9), H(8)}),
    field("HighWindTime", E::Time, Q::Time2, {H(10), L(10), H(11), L(11)}),
    field("HighWindDate", E::Date, Q::Date, {H(12), L(12), L(13)}),
    field("HighWindSpeedAlarm", E::Alarm, Q::WindSpeedAlarm, {H(13), L(14), H(14)}),
    field("WindChill", E::SignedDigits, Q::WindChill, {H(16), L(16)}, 0, 21, 0x20),
    field("WindChillLow", E::SignedDigits, Q::WindChill, {H(17), L(17)}, 0, 21, 0x10),
    field("WindChillLowTime", E::Time, Q::Time2, {H(18), L(18), H(19), L(19)}),
    field("WindChillLowDate", E::Date, Q::Date, {H(20), L(20), L(21)}),
};

template <std::size_t N> constexpr int countOf(const FieldLayout (&)[N])
{
    return int(N);
}

// In the order the identifiers are looked up.
constexpr GroupLayout layouts[] = {
    {SensorGroup::Humidity, 0x8F, 35, humidityFields, countOf(humidityFields)},
    {SensorGroup::Temperature, 0x9F, 34, temperatureFields, countOf(temperatureFields)},
    {SensorGroup::BarometerDewpoint, 0xAF, 31, barometerFields, countOf(barometerFields)},
    {SensorGroup::Rain, 0xBF, 14, rainFields, countOf(rainFields)},
    {SensorGroup::Wind, 0xCF, 27, windFields, countOf(windFields)},
};

static_assert(countOf(barometerFields) <= MaxGroupFields, "raise MaxGroupFields");

} // namespace

const GroupLayout *layoutForIdentifier(quint8 identifier)
{
    for (const GroupLayout &layout : layouts) {
        if (layout.identifier == identifier)
            return &layout;
    }
    return nullptr;
}

const GroupLayout &layoutForGroup(SensorGroup group)
{
    for (const GroupLayout &layout : layouts) {
        if (layout.group == group)
            return layout;
    }
    return layouts[0];
}

int fieldIndex(const GroupLayout &layout, const char *name)
{
    for (int i = 0; i < layout.fieldCount; ++i) {
        if (std::strcmp(layout.fields[i].name, name) == 0)
            return i;
    }
    return -1;
}
