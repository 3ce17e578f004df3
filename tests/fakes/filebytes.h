// Whole-file reads and writes for tests that check page and upload bytes.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtTest>

// The file's bytes, or "<none>" when it cannot be read, so a missing file never equals content.
inline QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
}

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), qint64(bytes.size()));
}
