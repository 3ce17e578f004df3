// The fax log: every fax sent, in one of five logs by how far it got, kept in a small SQLite
// file of the program directory.
#pragma once

#include "fax/faxdevice.h"

#include <QDateTime>
#include <QList>
#include <QString>

// In the order of the setup dialog's log selector.
enum class FaxLogName { Pending, Sending, Completed, Failed, Received };

inline const QString FaxLogFileName = QStringLiteral("FaxLog.db");

struct FaxLogEntry
{
    qint64 id = 0;
    QString number;
    QString device;
    QString file;
    QDateTime queued;
    QDateTime finished;  // invalid until it has
    int exitStatus = -1; // efax's, once it has ended
    QString message;     // efax's last message line, or why it did not run
};

// Each call opens the file and closes it again, so nothing is held open between faxes.
class FaxLog
{
public:
    explicit FaxLog(const QString &path) : m_path(path) {}
    QString path() const { return m_path; }

    // Adds `entry` to the Pending log and sets its id.
    FaxResult add(FaxLogEntry &entry);
    // Moves entry `id` to `log` with its device and what is known of its end so far.
    FaxResult move(qint64 id, FaxLogName log, const FaxLogEntry &outcome);

    // Oldest first. A log that cannot be read is empty.
    QList<FaxLogEntry> entries(FaxLogName log) const;
    int count(FaxLogName log) const { return int(entries(log).size()); }
    // Deletes the entry at position `index` of entries(log).
    FaxResult deleteEntry(FaxLogName log, int index);
    FaxResult deleteLog(FaxLogName log);

private:
    QString m_path;
};
