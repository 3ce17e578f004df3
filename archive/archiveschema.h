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
// split by a hash of the station into kArchivePartitions parts ("Outdoor Data 00", ...).
inline constexpr int kArchivePartitions = 64;
QStringList archiveSchema();

enum class ArchiveTable { Outdoor, Indoor };

// One INSERT of the given table's records of `pairs`, skipping those already there. Values
// are quoted by `driver`; a number column whose text is not a finite number gets NULL.
QString archiveInsert(const QSqlDriver &driver, ArchiveTable table,
                      const std::vector<ArchivePair> &pairs);
