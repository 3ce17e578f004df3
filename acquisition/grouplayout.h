// Where each field of the five sensor groups sits in its frame, as constant tables that
// one decoder and one encoder walk.
#pragma once

#include "acquisition/readingsrecord.h"

#include <QtGlobal>

// One nibble of a frame: byte `byte`, high (bits 7..4) or low (bits 3..0) half.
struct Nib
{
    quint8 byte = 0;
    bool high = false;
};
constexpr Nib H(int byte)
{
    return Nib{quint8(byte), true};
}
constexpr Nib L(int byte)
{
    return Nib{quint8(byte), false};
}

enum class Encoding : quint8 {
    Digits,       // decimal digits, most significant first, `decimals` of them after the point
    SignedDigits, // the same, negative when `sign` is set in byte `signByte`
    Temperature,  // tenths, units, then a nibble of tens (bits 2..0) and sign (bit 3)
    Alarm,        // units, tens, then a nibble whose bit 0 is the hundreds
    SignedAlarm,  // the same, with bit 3 of the last nibble the sign
    Time,         // minute tens, minute units, hour tens, hour units
    Date,         // day tens, day units, month nibble (1..12)
    Bits,         // one nibble of flags
    Zero,         // not sent by the console: always 0
};

// How a decoded value is converted and written (the record's text form follows from it).
enum class Quantity : quint8 {
    Humidity,         // %, W
    Temperature,      // °C one decimal -> °F or °C, D1
    TemperatureAlarm, // whole °F -> °F or °C, W
    Dewpoint,         // whole °C -> °F or °C, W
    DewpointAlarm,    // not decoded, W
    LocalPressure,    // whole mb -> inHg D2 or mb M4
    SeaLevelPressure, // mb one decimal -> inHg D2 or whole mb M4
    RainAmount,       // whole mm (or mm/h) -> in D2 or mm M4
    RainRateAlarm,    // in/h one decimal -> in/h D2 or mm/h M4
    WindSpeed,        // m/s one decimal -> mph or m/s, D1
    WindSpeedAlarm,   // whole mph -> mph or m/s, D1
    WindChill,        // whole °C -> °F or °C, D1
    Direction,        // degrees, W
    Time,             // TIME
    Time2,            // TIME2
    Date,             // DATE
    Trend,            // pressure trend word
    Forecast,         // console forecast word
};

struct FieldLayout
{
    const char *name; // the readings-record field
    Encoding encoding;
    Quantity quantity;
    quint8 nibbleCount;
    Nib nibbles[5];
    quint8 decimals;
    quint8 signByte; // SignedDigits only
    quint8 signMask;
};

struct GroupLayout
{
    SensorGroup group;
    quint8 identifier;
    quint8 length; // bytes, identifier and checksum included
    const FieldLayout *fields;
    int fieldCount;
};

constexpr int MaxGroupFields = 32;

// The layout for a frame identifier, looked up in the order 0x8F, 0x9F, 0xAF, 0xBF,
// 0xCF; null for any other byte.
const GroupLayout *layoutForIdentifier(quint8 identifier);
const GroupLayout &layoutForGroup(SensorGroup group);
// The index of `name` in the layout, or -1.
int fieldIndex(const GroupLayout &layout, const char *name);
