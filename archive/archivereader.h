// Reading one station's month back from the archive, for a chart.
#pragma once

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <vector>

struct ArchiveMonth
{
    std::vector<qint64> times;               // "Date_Time", UTC milliseconds, in order
    std::vector<std::vector<double>> series; // one per column asked for; NaN where empty
    QString error;                           // empty when read
};

// "Outdoor Data" or "Indoor Data" of `station` for the calendar month of `month` in local
// time, in one query over the primary key's range. No other query of `db` may be running.
ArchiveMonth readArchiveMonth(QSqlDatabase &db, const QString &table, const QString &station,
                              const QDate &month, const QStringList &columns);
