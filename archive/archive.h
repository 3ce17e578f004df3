// The shared PostgreSQL archive as the program sees it: each logged pair is handed over and
// the outcome comes back by signal. The database work runs on a thread of its own.
#pragma once

#include "archive/archivesettings.h"
#include "logging/logwriter.h"

#include <QObject>
#include <atomic>
#include <memory>

class Clock;
class ClockTimer;
class QThread;
class ArchiveWorker;

class Archive : public QObject
{
    Q_OBJECT
public:
    // `queuePath`: the file that holds pairs the server has not taken yet.
    Archive(Clock &clock, const QString &queuePath, QObject *parent = nullptr);
    // Ends the worker after the pairs handed over are queued; waits at most for a statement
    // or a connection attempt in progress.
    ~Archive() override;

    // Takes new settings; when enabled, whatever waits in the queue is sent.
    void setSettings(const ArchiveSettings &settings);
    const ArchiveSettings &settings() const { return m_settings; }

    // After a failure the next try comes after the first delay, doubling up to the longest.
    void setRetryDelays(int firstMs, int longestMs);

    // A pair the month file has taken; nothing happens while the archive is off.
    void add(const QDateTime &outdoorAt, const QDateTime &indoorAt,
             const LogWriter::PairValues &values);

    // What the worker last reported.
    qint64 pending() const { return m_pending; }
    bool failing() const { return m_failing; }

signals:
    // `pairs` reached the server; `pending` still wait.
    void stored(int pairs, qint64 pending);
    // Nothing more is sent until the retry; the pairs stay queued.
    void failed(const QString &reason, qint64 pending);

private:
    void ensureWorker();
    void onStored(int pairs, qint64 pending);
    void onFailed(const QString &reason, qint64 pending);
    void retry();

    Clock &m_clock;
    QString m_queuePath;
    ArchiveSettings m_settings;
    std::atomic<bool> m_stopping{false};
    std::unique_ptr<QThread> m_thread;
    std::unique_ptr<ArchiveWorker> m_worker;
    std::unique_ptr<ClockTimer> m_retryTimer;
    int m_firstRetryMs = 30 * 1000;
    int m_longestRetryMs = 5 * 60 * 1000;
    int m_nextRetryMs = m_firstRetryMs;
    qint64 m_pending = 0;
    bool m_failing = false;
};
