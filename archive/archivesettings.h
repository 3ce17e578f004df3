// The [archive] section of "corvane.conf": where the shared PostgreSQL archive is.
#pragma once

#include <QString>
#include <QStringList>

class QSettings;

// [archive]
//   enabled=true        off unless set
//   host=db.example.org a host name, an address, or a socket folder starting with "/"
//   port=5432
//   database=corvane
//   user=corvane
//   password=...
//   station=Hilltop     this station's name in the archive; the host name when empty
//   sslmode=prefer      libpq's: disable, allow, prefer, require, verify-ca, verify-full
struct ArchiveSettings
{
    bool enabled = false;
    QString host = QStringLiteral("localhost");
    int port = 5432;
    QString database = QStringLiteral("corvane");
    QString user = QStringLiteral("corvane");
    QString password;
    QString station;
    QString sslmode = QStringLiteral("prefer");

    // The station name the rows carry: `station`, or the machine's host name.
    QString stationName() const;

    bool operator==(const ArchiveSettings &o) const;
    bool operator!=(const ArchiveSettings &o) const { return !(*this == o); }
};

// Reads the [archive] group; a value in the wrong form keeps its default and is named in
// `problems`.
ArchiveSettings readArchiveSettings(QSettings &settings, QStringList *problems = nullptr);
// Writes the [archive] group, leaving the rest of the file as it is.
void writeArchiveSettings(QSettings &settings, const ArchiveSettings &archive);
// The same into the INI file at `path`, made readable by its owner only since it holds the
// password. Empty, or why not.
QString saveArchiveSettings(const QString &path, const ArchiveSettings &archive);
