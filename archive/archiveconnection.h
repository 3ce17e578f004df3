// A connection to the archive's server through Qt's PostgreSQL driver.
#pragma once

#include "archive/archivesettings.h"

#include <QSqlDatabase>

// Adds the connection `name` for `settings` and opens it; see isOpen() and lastError(). The
// caller removes it (QSqlDatabase::removeDatabase) when done, on the thread that opened it.
QSqlDatabase openArchiveDatabase(const ArchiveSettings &settings, const QString &name);
