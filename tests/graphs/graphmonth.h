// Month files for the graph tests: chosen record times and one value rule for the five fields.
#pragma once

#include "core/datetimeformat.h"
#include "logging/monthdatabase.h"
#include "logging/sqlitefile.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QStringList>
#include <functional>

inline const QStringList kGraphFields{"Temperature", "Humidity", "Dewpoint", "Average Wind Speed",
                                      "SeaLevel Barometric Pressure"};

// Writes the "Outdoor Data" records of `times` into the month file of times' first date in
// `dir`; field f of record r holds value(f, r).
inline bool writeMonth(const QString &dir, const QList<QDateTime> &times,
                       const std::function<double(int, int)> &value)
{
    const QDate month = times.first().date();
    if (!ensureMonthDatabase(dir, month).ok())
        return false;
    SqliteFile db;
    if (!db.open(MonthDatabase(dir, month), SqliteFile::Mode::ReadWrite).ok())
        return false;
    QStringList columns{"\"Date_Time\""};
    for (const QString &f : kGraphFields)
        columns << QStringLiteral("\"%1\"").arg(f);
    QSqlQuery q(db.database());
    q.prepare(QStringLiteral("INSERT INTO \"Outdoor Data\" (%1) VALUES (?, ?, ?, ?, ?, ?)")
                  .arg(columns.join(", ")));
    db.exec(QStringLiteral("BEGIN"));
    for (int r = 0; r < times.size(); ++r) {
        q.bindValue(0, generalDate(times[r]));
        for (int f = 0; f < kGraphFields.size(); ++f)
            q.bindValue(f + 1, QString::number(value(f, r)));
        if (!q.exec())
            return false;
    }
    return db.exec(QStringLiteral("COMMIT")).ok();
}

// Records every `minutes` from `start`, `count` of them.
inline QList<QDateTime> everyMinutes(const QDateTime &start, int minutes, int count)
{
    QList<QDateTime> times;
    for (int i = 0; i < count; ++i)
        times << start.addSecs(qint64(i) * minutes * 60);
    return times;
}
