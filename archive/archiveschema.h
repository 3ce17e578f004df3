// The archive's two tables on PostgreSQL and the statements that fill them.
#pragma once

#include "archive/archivepair.h"

#include <QString>
#include <QStringList>
#include <vector>

class QSqlDriver;

// "Outdoor Data" and "Indoor Data" with the month files' columns, a "station" column first,
// and "Date_Time" as a real timestamptz; (station, "Date_Time") is the primary key, so a
// pair stored twice is stored once and a station's month is one index range. Each table is
// split into one part per station, made by archiveStationTables.
QStringList archiveSchema();

// The parts of both tables that hold `station`'s rows, made if missing: "Outdoor Data
// <name> <hash>". The rows of all stations arrive minute by minute side by side; in a part of
// its own a station's month lies on consecutive pages rather than among the others'.
QStringList archiveStationTables(const QSqlDriver &driver, const QString &station);

enum class ArchiveTable { Outdoor, Indoor };

// One INSERT of the given table's records of `pairs`, skipping those already there. Values
// are quoted by `driver`; a number column whose text is not a finite number gets NULL.
QString archiveInsert(const QSqlDriver &driver, ArchiveTable table,
                      const std::vector<ArchivePair> &pairs);
