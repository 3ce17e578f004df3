// One short-lived Qt SQL connection to a SQLite file, removed again when it goes away.
#pragma once

#include "logging/logresult.h"

#include <QSqlDatabase>
#include <QString>

class SqliteFile
{
public:
    enum class Mode {
        ReadOnly,  // never writes the file
        ReadWrite, // fails on a missing file instead of creating an empty one
        Create     // creates the file when missing
    };

    SqliteFile();
    ~SqliteFile();
    SqliteFile(const SqliteFile &) = delete;
    SqliteFile &operator=(const SqliteFile &) = delete;

    // A busy timeout lets a reader's short lock delay a write instead of failing it.
    LogResult open(const QString &path, Mode mode, int busyTimeoutMs = 0);
    void close();

    LogResult exec(const QString &sql);
    QSqlDatabase &database() { return m_db; }
    QString connectionName() const { return m_name; }

private:
    QString m_name;
    QSqlDatabase m_db;
};
