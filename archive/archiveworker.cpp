// Connecting, creating the tables and sending batches, on the worker thread.
#include "archive/archiveworker.h"

#include "archive/archiveconnection.h"
#include "archive/archiveschema.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

namespace {

QString reasonOf(const QSqlError &error)
{
    const QString text = error.text().simplified();
    return text.isEmpty() ? QStringLiteral("unknown error") : text;
}

} // namespace

ArchiveWorker::ArchiveWorker(const QString &queuePath, const std::atomic<bool> &stopping)
    : m_queue(queuePath), m_stopping(stopping),
      m_connection(QStringLiteral("corvane-archive-%1").arg(quintptr(this), 0, 16))
{
}

ArchiveWorker::~ArchiveWorker()
{
    close();
}

void ArchiveWorker::configure(const ArchiveSettings &settings)
{
    if (settings == m_settings)
        return;
    m_settings = settings;
    disconnect();
    m_failing = false;
}

qint64 ArchiveWorker::pending() const
{
    return m_queue.pending() + qint64(m_unqueued.size());
}

void ArchiveWorker::add(const ArchivePair &pair)
{
    if (!m_queueOpen) {
        const QString why = m_queue.open();
        m_queueOpen = why.isEmpty();
        if (!m_queueOpen)
            qWarning("corvane: archive queue: %s", qPrintable(why));
    }
    // Once one pair is held in memory the later ones follow it there, to keep their order.
    const QString why = m_queueOpen && m_unqueued.empty() ? m_queue.append(pair)
                                                          : QStringLiteral("the queue file is not in use");
    if (!why.isEmpty()) {
        m_unqueued.push_back(pair);
        if (m_queueOpen && m_unqueued.size() == 1)
            qWarning("corvane: archive queue: %s; pairs are kept in memory", qPrintable(why));
    }
    if (!m_failing && !m_stopping)
        drain();
}

void ArchiveWorker::drain()
{
    if (m_stopping)
        return;
    if (!m_queueOpen) {
        const QString why = m_queue.open();
        m_queueOpen = why.isEmpty();
        // Without the file the pairs held in memory still go.
        if (!m_queueOpen && m_unqueued.empty()) {
            fail(QStringLiteral("queue: ") + why);
            return;
        }
    }
    if (pending() == 0)
        return;
    if (!m_connected) {
        const QString why = connect();
        if (!why.isEmpty()) {
            fail(why);
            return;
        }
    }
    int sent = 0;
    while (m_queueOpen && !m_stopping && m_queue.pending() > 0) {
        const ArchiveQueue::Batch batch = m_queue.next(BatchPairs);
        if (!batch.error.isEmpty()) {
            fail(QStringLiteral("queue: ") + batch.error);
            return;
        }
        if (batch.lines == 0)
            break;
        const QString why = send(batch.pairs);
        if (!why.isEmpty()) {
            fail(why);
            return;
        }
        sent += int(batch.pairs.size());
        // On the server now: a failure to note it only means the batch may be sent again.
        const QString noted = m_queue.commit(batch);
        if (!noted.isEmpty()) {
            fail(QStringLiteral("queue: ") + noted);
            return;
        }
    }
    while (!m_stopping && !m_unqueued.empty()) {
        const size_t n = std::min<size_t>(m_unqueued.size(), BatchPairs);
        const std::vector<ArchivePair> batch(m_unqueued.begin(), m_unqueued.begin() + long(n));
        const QString why = send(batch);
        if (!why.isEmpty()) {
            fail(why);
            return;
        }
        m_unqueued.erase(m_unqueued.begin(), m_unqueued.begin() + long(n));
        sent += int(n);
    }
    m_failing = false;
    if (sent > 0)
        emit stored(sent, pending());
}

QString ArchiveWorker::connect()
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
        return QStringLiteral("Qt's PostgreSQL driver (QPSQL) is not installed");
    {
        QSqlDatabase db = openArchiveDatabase(m_settings, m_connection);
        QString why;
        if (!db.isOpen()) {
            why = reasonOf(db.lastError());
        } else {
            QSqlQuery q(db);
            // The server's notices ("already exists, skipping") would go to standard error.
            q.exec(QStringLiteral("SET client_min_messages TO warning"));
            for (const QString &statement : archiveSchema()) {
                if (!q.exec(statement)) {
                    why = QStringLiteral("creating the tables: ") + reasonOf(q.lastError());
                    break;
                }
            }
        }
        if (why.isEmpty()) {
            m_connected = true;
            return {};
        }
        db.close();
        why = QStringLiteral("%1@%2:%3/%4: %5")
                  .arg(m_settings.user, m_settings.host)
                  .arg(m_settings.port)
                  .arg(m_settings.database, why);
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connection);
        return why;
    }
}

QString ArchiveWorker::send(const std::vector<ArchivePair> &pairs)
{
    if (pairs.empty())
        return {};
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    // Each station's rows go to parts of their own, made on its first pair. The queue may hold
    // pairs of an earlier station name.
    for (const ArchivePair &pair : pairs) {
        if (m_stationTables.count(pair.station))
            continue;
        QSqlQuery q(db);
        for (const QString &statement : archiveStationTables(*db.driver(), pair.station))
            if (!q.exec(statement))
                return QStringLiteral("creating the tables of station %1: %2")
                    .arg(pair.station, reasonOf(q.lastError()));
        m_stationTables.insert(pair.station);
    }
    if (!db.transaction())
        return reasonOf(db.lastError());
    QString why;
    {
        QSqlQuery q(db);
        for (ArchiveTable table : {ArchiveTable::Outdoor, ArchiveTable::Indoor}) {
            if (!q.exec(archiveInsert(*db.driver(), table, pairs))) {
                why = reasonOf(q.lastError());
                break;
            }
        }
    }
    if (why.isEmpty() && !db.commit())
        why = reasonOf(db.lastError());
    if (!why.isEmpty())
        db.rollback();
    return why;
}

void ArchiveWorker::fail(const QString &reason)
{
    // A fresh connection next time: after a server restart the old one is dead.
    disconnect();
    m_failing = true;
    emit failed(reason, pending());
}

void ArchiveWorker::disconnect()
{
    if (!QSqlDatabase::contains(m_connection))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
    m_connected = false;
    m_stationTables.clear(); // a server restored from a backup may lack them
}

void ArchiveWorker::close()
{
    disconnect();
}
