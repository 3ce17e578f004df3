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

// A month of one-minute logging: 31 days of 1440 record pairs.
struct LoggedMonth
{
    LoggedMonth() : path(MonthDatabase(dir.path(), kStart.date()))
    {
        ReadingsRecord record;
        fillReadings(record);
        ensureMonthDatabase(dir.path(), kStart.date());
        SqliteFile db;
        db.open(path, SqliteFile::Mode::ReadWrite);
        for (const auto &[table, first, count] :
             {std::tuple{outdoorTableName(), 0, kOutdoorColumnCount},
              std::tuple{indoorTableName(), kOutdoorColumnCount, kIndoorColumnCount}}) {
            QStringList names;
            for (int i = first; i < first + count; ++i)
                names << QStringLiteral("\"%1\"").arg(QLatin1String(logColumn(i).column));
            QSqlQuery q(db.database());
            q.prepare(QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                          .arg(table, names.join(", "), QStringList(count, "?").join(", ")));
            for (int minute = 0; minute < kRecords; ++minute) {
                if (minute % 1000 == 0)
                    db.exec(QStringLiteral("BEGIN"));
                const auto values = FillLogFields(record, kStart.addSecs(minute * 60));
                for (int i = 0; i < count; ++i)
                    q.bindValue(i, values[size_t(first + i)]);
                q.exec();
                if (minute % 1000 == 999 || minute == kRecords - 1)
                    db.exec(QStringLiteral("COMMIT"));
            }
        }
    }
    static constexpr int kRecords = 31 * 24 * 60;
    QTemporaryDir dir{QStringLiteral("bench-logging-XXXXXX")};
    QString path;
};
