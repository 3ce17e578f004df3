// Settings beyond the 59 of "Corvane.cfg", which stays as it is: the INI file "corvane.conf"
// in the program directory.
#pragma once

#include "sharing/sharingsettings.h"
#include "archive/archivesettings.h"

#include <QString>
#include <QStringList>

// [ftps]: how the FTPS server's certificate is trusted.
//   ca_file=PATH       the CA (PEM) that signed it, instead of the system's CAs; a relative
//                      path is taken from the program directory
//   pinned_key=sha256//BASE64[, sha256//BASE64...]
//                      the SHA-256 of the server's public key (DER SubjectPublicKeyInfo);
//                      any one of several will do
struct FtpsSettings
{
    QString caFile;    // absolute, or empty
    QString pinnedKey; // as curl takes them: "sha256//A;sha256//B"
};

// [noaa]: the climate summaries after the daily graph run.
//   upload=true        writes "NOAA-YYYY-MM.txt" and "NOAA-YYYY.txt" of the run's day into
//                      the program directory and uploads them after the five graphs
struct NoaaSettings
{
    bool upload = false;
};

struct SideSettings
{
    FtpsSettings ftps;
    NoaaSettings noaa;
    SharingSettings sharing; // [mqtt], [wunderground], [pwsweather], [cwop]
    ArchiveSettings archive; // [archive], see archive/archivesettings.h
    QStringList problems; // each names the key; a missing file is no problem
};

// The file's full path in the program directory.
QString sideSettingsFilePath();

// Reads `path`. A value in the wrong form is kept and named in `problems`, so that a
// transfer depending on it fails rather than running less checked than meant.
SideSettings readSideSettings(const QString &path);
