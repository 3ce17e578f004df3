// Hand-made console frames for tests: chosen bytes set, the checksum made right.
#pragma once

#include "acquisition/bitconversions.h"

#include <QByteArray>
#include <QList>
#include <QPair>

// A frame of `length` bytes starting with `identifier`, the given (index, value) bytes set,
// every other byte zero and the last byte the sum of the others.
inline QByteArray checkedFrame(quint8 identifier, int length,
                               const QList<QPair<int, int>> &bytes = {})
{
    QByteArray f(length, '\0');
    f[0] = char(identifier);
    for (const auto &b : bytes)
        f[b.first] = char(b.second);
    f[length - 1] = char(byteSum(f.constData(), length - 1));
    return f;
}
