// Reading and writing "Corvane.cfg": one value per line ended by CR LF, texts in double
// quotes, bare integers, #yyyy-mm-dd hh:mm:ss# date-times, empty lines for empty values.
#pragma once

#include "config/configfields.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

struct ConfigLoadResult
{
    Configuration config; // defaults where the file gave nothing usable
    ConfigValues values;  // the values read, in file order (fewer than 59 for a short file)
    bool fileExisted = false;
    int valuesRead = 0;
    QStringList notices; // for the user, naming the file: why it was refused, or that others
                         // can read it (with the chmod that fixes that)
};

struct ConfigFormatResult
{
    QByteArray bytes; // the whole file; empty when refused
    QString field;    // the refused field's name, e.g. "Pagers[1].PagerNumber"
    QString error;    // why, naming the field; empty when ok
    QString reason;   // why, without the field: "contains a double quote"
    bool ok() const { return error.isEmpty(); }
};

struct ConfigSaveResult
{
    QString field;  // the refused field, empty when the file could not be written at all
    QString error;  // empty when the file was written
    QString reason; // the refusal without the field, or the system's reason ("Permission denied")
    bool ok() const { return error.isEmpty(); }
};

// The file's full path in the program directory.
QString configurationFilePath();

// Reads up to 59 values with sequential-input rules: line ends separate fields, a comma
// outside quotes ends an unquoted field, leading blanks are skipped, "..." is text, a bare
// number is a number, #...# a date-time, an empty field an empty value. Bytes are Latin-1.
ConfigValues parseConfigValues(QByteArrayView bytes);

// Reads the file; a missing, short or garbled file gives what could be read. A file that is
// no regular file (a FIFO, a device) or is larger than 1 MiB is not read at all.
ConfigLoadResult loadConfiguration(const QString &path);

// The file's bytes for `config` (single text boxes trimmed). Refuses, naming the field, a
// value that would not read back as written: a double quote, a CR or LF, a character
// outside Latin-1, a date-time outside the years 1-9999, a number that is not finite.
ConfigFormatResult formatConfiguration(const Configuration &config);

// Writes the file atomically with owner-only permissions; on refusal or failure the old
// file stays as it was.
ConfigSaveResult saveConfiguration(const QString &path, const Configuration &config);
