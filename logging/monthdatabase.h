// The month's log file and the empty template it is copied from.
#pragma once

#include "logging/logresult.h"

#include <QDate>
#include <QString>

// "JAN2026.MDB": upper-case month abbreviation, four-digit year, ".MDB".
QString monthDatabaseName(const QDate &date);
// The month's log file in `directory`.
QString MonthDatabase(const QString &directory, const QDate &date);
// "Wx_Temp.mdb" in `directory`.
QString logTemplatePath(const QString &directory);

// Builds an empty template with both log tables at `path`; fails rather than replace an
// existing file.
LogResult createLogTemplate(const QString &path);

enum class MonthFile { Existed, Created };

// Makes sure the month's file exists: when it is missing, copies the template into it
// (building the template first if there is none). A template that cannot be read is
// left as it is and the month file is not created, so a later tick tries again.
LogResult ensureMonthDatabase(const QString &directory, const QDate &date,
                              MonthFile *what = nullptr);
