// Nibble, digit and bit-text helpers for the console's packed frames.
#pragma once

#include <QByteArray>
#include <QString>

// Hexadecimal text of up to four digits to its 16 bits, most significant first, as two
// groups of eight "0"/"1" separated by two spaces; any other input gives all zeros.
QString HexBits(const QString &hex);
// An eight-character bit text, most significant first, to 0..255. A position counts
// only when it lies within the text and holds "1".
int BitsToByte(const QString &bits);
// A bit text of up to three characters, most significant first, to 0..7; characters
// past the third are ignored.
int BitsToSmall(const QString &bits);

// The low 8 bits of the sum of bytes 0..size-1.
quint8 byteSum(const char *bytes, qsizetype size);
// True when the last byte of `frame` is the sum of the others modulo 256.
bool checksumMatches(const QByteArray &frame);
