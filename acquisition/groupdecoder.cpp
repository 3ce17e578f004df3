// The one decoder and the one encoder that walk the group layouts.
#include "acquisition/groupdecoder.h"

#include "acquisition/bitconversions.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int powersOfTen[] = {1, 10, 100, 1000, 10000, 100000};

int nibble(const QByteArray &frame, Nib n)
{
    const auto b = quint8(frame.at(n.byte));
    return n.high ? b >> 4 : b & 0x0F;
}

void putNibble(QByteArray &frame, Nib n, int value)
{
    auto b = quint8(frame.at(n.byte));
    b = n.high ? quint8((b & 0x0F) | ((value & 0x0F) << 4)) : quint8((b & 0xF0) | (value & 0x0F));
    frame[n.byte] = char(b);
}

// Decimal digits of nibbles first..first+count-1; false when one is above 9.
bool readDigits(const QByteArray &frame, const FieldLayout &f, int first, int count, int &out)
{
    int v = 0;
    for (int i = first; i < first + count; ++i) {
        const int d = nibble(frame, f.nibbles[i]);
        if (d > 9)
            return false;
        v = v * 10 + d;
    }
    out = v;
    return true;
}

void writeDigits(QByteArray &frame, const FieldLayout &f, int first, int count, int value)
{
    value = std::clamp(value, 0, powersOfTen[count] - 1);
    for (int i = first + count - 1; i >= first; --i) {
        putNibble(frame, f.nibbles[i], value % 10);
        value /= 10;
    }
}

bool decodeField(const QByteArray &frame, const FieldLayout &f, RawValue &v)
{
    int a = 0;
    int b = 0;
    switch (f.encoding) {
    case Encoding::Digits:
    case Encoding::SignedDigits:
        if (!readDigits(frame, f, 0, f.nibbleCount, a))
            return false;
        v.number = double(a) / powersOfTen[f.decimals];
        if (f.encoding == Encoding::SignedDigits && (quint8(frame.at(f.signByte)) & f.signMask))
            v.number = -v.number;
        return true;
    case Encoding::Temperature: {
        const int tenths = nibble(frame, f.nibbles[0]);
        const int units = nibble(frame, f.nibbles[1]);
        const int top = nibble(frame, f.nibbles[2]);
        if (tenths > 9 || units > 9)
            return false;
        const double magnitude = double((top & 0x7) * 100 + units * 10 + tenths) / 10.0;
        v.number = (top & 0x8) ? -magnitude : magnitude;
        return true;
    }
    case Encoding::Alarm:
    case Encoding::SignedAlarm: {
        const int units = nibble(frame, f.nibbles[0]);
        const int tens = nibble(frame, f.nibbles[1]);
        const int top = nibble(frame, f.nibbles[2]);
        if (units > 9 || tens > 9)
            return false;
        const int magnitude = (top & 0x1) * 100 + tens * 10 + units;
        v.number = f.encoding == Encoding::SignedAlarm && (top & 0x8) ? -magnitude : magnitude;
        return true;
    }
    case Encoding::Time:
        if (!readDigits(frame, f, 0, 2, a) || !readDigits(frame, f, 2, 2, b))
            return false;
        v.minute = a;
        v.hour = b;
        return true;
    case Encoding::Date: {
        // The month is one nibble: 1..9, and 10..12 (hexadecimal A..C) for October to
        // December. 0 and 13..15 are no month.
        const int month = nibble(frame, f.nibbles[2]);
        if (!readDigits(frame, f, 0, 2, a) || month < 1 || month > 12)
            return false;
        v.day = a;
        v.month = month;
        return true;
    }
    case Encoding::Bits:
        v.bits = nibble(frame, f.nibbles[0]);
        return true;
    case Encoding::Zero:
        return true;
    }
    return false;
}

void encodeField(QByteArray &frame, const FieldLayout &f, const RawValue &v)
{
    switch (f.encoding) {
    case Encoding::Digits:
    case Encoding::SignedDigits: {
        const auto scaled = int(std::lround(std::fabs(v.number) * powersOfTen[f.decimals]));
        writeDigits(frame, f, 0, f.nibbleCount, scaled);
        if (f.encoding == Encoding::SignedDigits && v.number < 0 && scaled != 0)
            frame[f.signByte] = char(quint8(frame.at(f.signByte)) | f.signMask);
        break;
    }
    case Encoding::Temperature: {
        const int tenths = std::min(int(std::lround(std::fabs(v.number) * 10)), 799);
        putNibble(frame, f.nibbles[0], tenths % 10);
        putNibble(frame, f.nibbles[1], tenths / 10 % 10);
        putNibble(frame, f.nibbles[2], tenths / 100 | (v.number < 0 && tenths != 0 ? 0x8 : 0));
        break;
    }
    case Encoding::Alarm:
    case Encoding::SignedAlarm: {
        const bool negative = f.encoding == Encoding::SignedAlarm && v.number < 0;
        const int magnitude = std::min(int(std::lround(std::fabs(v.number))), 199);
        putNibble(frame, f.nibbles[0], magnitude % 10);
        putNibble(frame, f.nibbles[1], magnitude / 10 % 10);
        putNibble(frame, f.nibbles[2], magnitude / 100 | (negative && magnitude != 0 ? 0x8 : 0));
        break;
    }
    case Encoding::Time:
        writeDigits(frame, f, 0, 2, v.minute);
        writeDigits(frame, f, 2, 2, v.hour);
        break;
    case Encoding::Date:
        writeDigits(frame, f, 0, 2, v.day);
        putNibble(frame, f.nibbles[2], std::clamp(v.month, 1, 12));
        break;
    case Encoding::Bits:
        putNibble(frame, f.nibbles[0], v.bits);
        break;
    case Encoding::Zero:
        break;
    }
}

} // namespace

bool DecodedGroup::isReadable(const char *name) const
{
    const int i = layout ? fieldIndex(*layout, name) : -1;
    return i >= 0 && readable.test(size_t(i));
}

std::optional<RawValue> DecodedGroup::value(const char *name) const
{
    const int i = layout ? fieldIndex(*layout, name) : -1;
    if (i < 0 || !readable.test(size_t(i)))
        return std::nullopt;
    return values[size_t(i)];
}

void DecodedGroup::set(const char *name, const RawValue &v)
{
    const int i = layout ? fieldIndex(*layout, name) : -1;
    if (i < 0)
        return;
    values[size_t(i)] = v;
    readable.set(size_t(i));
}

std::optional<DecodedGroup> decodeGroup(const QByteArray &frame)
{
    if (frame.isEmpty())
        return std::nullopt;
    const GroupLayout *layout = layoutForIdentifier(quint8(frame.at(0)));
    if (!layout || frame.size() < layout->length)
        return std::nullopt;
    DecodedGroup g;
    g.layout = layout;
    for (int i = 0; i < layout->fieldCount; ++i) {
        RawValue v;
        if (decodeField(frame, layout->fields[i], v)) {
            g.values[size_t(i)] = v;
            g.readable.set(size_t(i));
        }
    }
    return g;
}

QByteArray encodeGroup(const DecodedGroup &group)
{
    if (!group.layout)
        return {};
    const GroupLayout &layout = *group.layout;
    QByteArray frame(layout.length, '\0');
    frame[0] = char(layout.identifier);
    for (int i = 0; i < layout.fieldCount; ++i) {
        if (group.readable.test(size_t(i)))
            encodeField(frame, layout.fields[i], group.values[size_t(i)]);
    }
    frame[layout.length - 1] = char(byteSum(frame.constData(), layout.length - 1));
    return frame;
}
