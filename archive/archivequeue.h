// The pairs not yet in the archive, kept in a file in the program directory so that a server
// that is away, or a restart, loses none of them.
#pragma once

#include "archive/archivepair.h"

#include <QString>
#include <vector>

// An append-only file of JSON lines beside a small file holding how far the archive has
// taken them. A batch is marked done only after the server committed it; a crash between
// the two sends that batch again, which the archive's unique key turns into nothing.
class ArchiveQueue
{
public:
    // `path` is the queue file; its progress is kept in `path` + ".done".
    explicit ArchiveQueue(const QString &path);

    QString path() const { return m_path; }
    // Reads the progress and counts the pairs waiting. Empty, or why not.
    QString open();
    // The pair is on the disk when this returns empty.
    QString append(const ArchivePair &pair);
    qint64 pending() const { return m_pending; }

    struct Batch
    {
        std::vector<ArchivePair> pairs;
        qint64 end = 0; // where the next batch starts
        int lines = 0;  // lines taken, the unreadable ones included
        QString error;
    };
    // Up to `max` pairs in order from the first not yet taken; lines that do not decode (cut
    // short by a crash) are passed over with a warning.
    Batch next(int max) const;
    // Marks a batch as taken; once every pair is, both files go. Empty, or why not.
    QString commit(const Batch &batch);

private:
    QString writeOffset(qint64 offset);

    QString m_path;
    QString m_donePath;
    qint64 m_offset = 0;
    qint64 m_pending = 0;
};
