// A month of one-minute logging in a month file, for the benchmarks that read one.
#pragma once

#include "acquisition/readingsrecord.h"
#include "logging/logschema.h"
#include "logging/monthdatabase.h"
#include "logging/sqlitefile.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <tuple>

inline const QDateTime kStart(QDate(2026, 1, 1), QTime(0, 0));

// Every reading filled, so records have the size they have in service.
inline void fillReadings(ReadingsRecord &record)
{
    int i = 0;
    for (const QString &field : ReadingsRecord::fieldNames()) {
        const bool text =
            field.endsWith(QLatin1String("Time")) || field.endsWith(QLatin1String("Date")) ||
            field == QLatin1String("PressureTrend") || field == QLatin1String("StationForecast");
        record.setText(field, text ? QStringLiteral("10:%1").arg(i % 60, 2, 10, QLatin1Char('0'))
                                   : QString::number(20.0 + (i * 7 % 50) / 10.0, 'f', 1));
        ++i;
    }
}

// `records` minutes of logging from `start` into the month file of `start` in `directory`,
// both tables; the file is made from the template when missing.
inline void logMinutes(const QString &directory, const QDateTime &start, int records)
{
    ReadingsRecord record;
    fillReadings(record);
    ensureMonthDatabase(directory, start.date());
    SqliteFile db;
    db.open(MonthDatabase(directory, start.date()), SqliteFile::Mode::ReadWrite);
    for (const auto &[table, first, count] :
         {std::tuple{outdoorTableName(), 0, kOutdoorColumnCount},
          std::tuple{indoorTableName(), kOutdoorColumnCount, kIndoorColumnCount}}) {
        QStringList names;
        for (int i = first; i < first + count; ++i)
            names << QStringLiteral("\"%1\"").arg(QLatin1String(logColumn(i).column));
        QSqlQuery q(db.database());
        q.prepare(QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                      .arg(table, names.join(", "), QStringList(count, "?").join(", ")));
        for (int minute = 0; minute < records; ++minute) {
            if (minute % 1000 == 0)
                db.exec(QStringLiteral("BEGIN"));
            const auto values = FillLogFields(record, start.addSecs(qint64(minute) * 60));
            for (int i = 0; i < count; ++i)
                q.bindValue(i, values[size_t(first + i)]);
            q.exec();
            if (minute % 1000 == 999 || minute == records - 1)
                db.exec(QStringLiteral("COMMIT"));
        }
    }
}

// A month of one-minute logging: 31 days of 1440 record pairs.
struct LoggedMonth
{
    LoggedMonth() : path(MonthDatabase(dir.path(), kStart.date()))
    {
        logMinutes(dir.path(), kStart, kRecords);
    }
    static constexpr int kRecords = 31 * 24 * 60;
    QTemporaryDir dir{QStringLiteral("bench-logging-XXXXXX")};
    QString path;
};
