// Nibble, digit and bit-text helpers.
#include "acquisition/bitconversions.h"

#include <cctype>

QString HexBits(const QString &hex)
{
    bool ok = false;
    const uint value = hex.size() <= 4 ? hex.toUInt(&ok, 16) : 0;
    // toUInt accepts a sign and surrounding blanks; the console routine did not.
    for (const QChar c : hex) {
        if (!isxdigit(c.toLatin1()))
            ok = false;
    }
    const uint v = ok ? value : 0;
    QString out;
    out.reserve(18);
    for (int bit = 15; bit >= 0; --bit) {
        out += (v >> bit) & 1 ? QLatin1Char('1') : QLatin1Char('0');
        if (bit == 8)
            out += QLatin1String("  ");
    }
    return out;
}

int BitsToByte(const QString &bits)
{
    int value = 0;
    for (int i = 0; i < 8; ++i) {
        if (i < bits.size() && bits.at(i) == QLatin1Char('1'))
            value |= 1 << (7 - i);
    }
    return value;
}

int BitsToSmall(const QString &bits)
{
    int value = 0;
    for (int i = 0; i < bits.size() && i < 3; ++i)
        value = value * 2 + (bits.at(i) == QLatin1Char('1') ? 1 : 0);
    return value;
}

quint8 byteSum(const char *bytes, qsizetype size)
{
    unsigned sum = 0;
    for (qsizetype i = 0; i < size; ++i)
        sum += quint8(bytes[i]);
    return quint8(sum & 0xFF);
}

bool checksumMatches(const QByteArray &frame)
{
    if (frame.size() < 2)
        return false;
    return byteSum(frame.constData(), frame.size() - 1) == quint8(frame.at(frame.size() - 1));
}
