// The archive's owner on the program's thread: hands work to the worker and retries.
#include "archive/archive.h"

#include "archive/archiveworker.h"
#include "core/clock.h"

#include <QThread>

Archive::Archive(Clock &clock, const QString &queuePath, QObject *parent)
    : QObject(parent), m_clock(clock), m_queuePath(queuePath), m_retryTimer(clock.createTimer())
{
    m_retryTimer->setSingleShot(true);
    connect(m_retryTimer.get(), &ClockTimer::timeout, this, &Archive::retry);
}

Archive::~Archive()
{
    if (!m_thread)
        return;
    m_stopping = true;
    ArchiveWorker *worker = m_worker.get();
    // Posted after every pair handed over, so those are queued before the thread ends.
    QMetaObject::invokeMethod(worker, [worker] {
        worker->close();
        QThread::currentThread()->quit();
    });
    m_thread->wait();
    m_worker.reset();
}

void Archive::setRetryDelays(int firstMs, int longestMs)
{
    m_firstRetryMs = firstMs;
    m_longestRetryMs = longestMs;
    m_nextRetryMs = firstMs;
}

void Archive::ensureWorker()
{
    if (m_thread)
        return;
    m_thread = std::make_unique<QThread>();
    m_thread->setObjectName(QStringLiteral("corvane archive"));
    m_worker = std::make_unique<ArchiveWorker>(m_queuePath, m_stopping);
    m_worker->moveToThread(m_thread.get());
    connect(m_worker.get(), &ArchiveWorker::stored, this, &Archive::onStored);
    connect(m_worker.get(), &ArchiveWorker::failed, this, &Archive::onFailed);
    m_thread->start();
}

void Archive::setSettings(const ArchiveSettings &settings)
{
    m_settings = settings;
    m_retryTimer->stop();
    m_nextRetryMs = m_firstRetryMs;
    m_failing = false;
    if (!settings.enabled)
        return;
    ensureWorker();
    ArchiveWorker *worker = m_worker.get();
    QMetaObject::invokeMethod(worker, [worker, settings] {
        worker->configure(settings);
        worker->drain();
    });
}

void Archive::add(const QDateTime &outdoorAt, const QDateTime &indoorAt,
                  const LogWriter::PairValues &values)
{
    if (!m_settings.enabled || !m_worker)
        return;
    ArchivePair pair{m_settings.stationName(), outdoorAt, indoorAt, values};
    ArchiveWorker *worker = m_worker.get();
    QMetaObject::invokeMethod(worker, [worker, pair = std::move(pair)] { worker->add(pair); });
}

void Archive::onStored(int pairs, qint64 pending)
{
    m_pending = pending;
    m_failing = false;
    m_nextRetryMs = m_firstRetryMs;
    emit stored(pairs, pending);
}

void Archive::onFailed(const QString &reason, qint64 pending)
{
    m_pending = pending;
    m_failing = true;
    if (m_settings.enabled && !m_retryTimer->isActive()) {
        m_retryTimer->setInterval(m_nextRetryMs);
        m_retryTimer->start();
        m_nextRetryMs = qMin(m_longestRetryMs, m_nextRetryMs * 2);
    }
    emit failed(reason, pending);
}

void Archive::retry()
{
    if (!m_settings.enabled || !m_worker)
        return;
    ArchiveWorker *worker = m_worker.get();
    QMetaObject::invokeMethod(worker, [worker] { worker->drain(); });
}
