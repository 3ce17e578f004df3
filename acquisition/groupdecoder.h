// Decoding a checked frame into the values its group's layout names, in the console's
// units, and the inverse encoding. Pure: no clock, no I/O, no conversion.
#pragma once

#include "acquisition/grouplayout.h"

#include <QByteArray>
#include <array>
#include <bitset>
#include <optional>

// One decoded field. Numbers (digits, temperatures, alarms) are in `number`; a time is
// hour and minute, a date month and day; a flag nibble is in `bits`.
struct RawValue
{
    double number = 0;
    int hour = 0;
    int minute = 0;
    int month = 0;
    int day = 0;
    int bits = 0;

    bool operator==(const RawValue &o) const
    {
        return number == o.number && hour == o.hour && minute == o.minute && month == o.month &&
               day == o.day && bits == o.bits;
    }
};

// The fields of one frame, indexed as in its layout. A field is unreadable when one of
// its digits is above 9 (or its month is not 1..12); the other fields are unaffected.
struct DecodedGroup
{
    const GroupLayout *layout = nullptr;
    std::array<RawValue, MaxGroupFields> values{};
    std::bitset<MaxGroupFields> readable;

    bool isReadable(const char *name) const;
    // The value of a readable field, none otherwise.
    std::optional<RawValue> value(const char *name) const;
    void set(const char *name, const RawValue &v);
};

// Decodes a frame of one of the five groups (identifier first, checksum last). The
// checksum is not looked at here; none when the identifier is unknown or the frame is
// shorter than its group.
std::optional<DecodedGroup> decodeGroup(const QByteArray &frame);

// The frame whose decoding gives `group`'s readable fields, with a correct checksum.
// Unused nibbles are 0. Values outside what a field can carry are clamped to it.
QByteArray encodeGroup(const DecodedGroup &group);
