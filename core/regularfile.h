// Reading a file that the user named: regular files only, and no more than a set size.
#pragma once

#include <QByteArray>
#include <QString>

// Room for any real "Corvane.cfg" or "Ports.cfg" many times over.
constexpr qint64 SettingsFileLimit = qint64(1) << 20;
// Page and pager templates: far beyond any real page, small enough to expand in memory.
constexpr qint64 TemplateFileLimit = qint64(16) << 20;

struct RegularFileRead
{
    QByteArray bytes;     // the whole file; empty on error
    QString error;        // names the file; empty when read
    bool missing = false; // there is no file of that name (error is set too)
    uint mode = 0;        // the permission bits of the file read, as in 0644
    bool ok() const { return error.isEmpty(); }
};

// Reads the whole of `path`, refusing, with an error that names the file, anything that is
// not a regular file (a FIFO, a device, a folder) and a file larger than `limit` bytes.
// Never blocks on a FIFO and never reads past `limit` + 1 bytes.
RegularFileRead readRegularFile(const QString &path, qint64 limit);
