// The archive's database work, on a thread of its own so that a slow or absent server never
// holds up the program. Everything here runs on that thread.
#pragma once

#include "archive/archivequeue.h"
#include "archive/archivesettings.h"

#include <QObject>
#include <atomic>
#include <deque>
#include <set>

class QSqlDatabase;

class ArchiveWorker : public QObject
{
    Q_OBJECT
public:
    // Pairs per transaction when replaying the queue.
    static constexpr int BatchPairs = 500;

    // `stopping` is set by the owner when the program ends: what is left is queued, not sent.
    ArchiveWorker(const QString &queuePath, const std::atomic<bool> &stopping);
    ~ArchiveWorker() override;

    // These run on the worker's thread, posted there by Archive.
    void configure(const ArchiveSettings &settings);
    // Queues the pair on the disk, then sends what is waiting unless the server is known to
    // be away (then the owner's retry sends it).
    void add(const ArchivePair &pair);
    // Sends every waiting pair in order, a batch per transaction.
    void drain();
    // Closes the connection; the last call before the thread ends.
    void close();

signals:
    void stored(int pairs, qint64 pending);
    void failed(const QString &reason, qint64 pending);

private:
    QString connect();
    QString send(const std::vector<ArchivePair> &pairs);
    void disconnect();
    void fail(const QString &reason);
    qint64 pending() const;

    ArchiveQueue m_queue;
    bool m_queueOpen = false;
    // Pairs the queue file could not take (a full disk): kept here, in order, until sent.
    std::deque<ArchivePair> m_unqueued;
    const std::atomic<bool> &m_stopping;
    ArchiveSettings m_settings;
    QString m_connection;
    bool m_connected = false;
    std::set<QString> m_stationTables; // stations whose parts are known to exist
    bool m_failing = false;
};
