// The queue file and its progress file.
#include "archive/archivequeue.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtGlobal>

#include <unistd.h>

ArchiveQueue::ArchiveQueue(const QString &path)
    : m_path(path), m_donePath(path + QStringLiteral(".done"))
{
}

QString ArchiveQueue::open()
{
    m_offset = 0;
    m_pending = 0;
    QFile queue(m_path);
    if (!queue.exists()) {
        // A crash between removing the two files leaves a progress that means nothing now.
        QFile::remove(m_donePath);
        return {};
    }
    QFile done(m_donePath);
    if (done.open(QIODevice::ReadOnly)) {
        bool ok = false;
        const qint64 offset = done.readAll().trimmed().toLongLong(&ok);
        if (ok && offset >= 0 && offset <= queue.size())
            m_offset = offset;
    }
    if (!queue.open(QIODevice::ReadWrite))
        return QStringLiteral("%1: %2").arg(m_path, queue.errorString());
    // A line cut short by a crash is ended, so that the next pair starts a line of its own.
    if (queue.size() > 0 && queue.seek(queue.size() - 1) && queue.read(1) != "\n") {
        queue.seek(queue.size());
        queue.write("\n");
        queue.flush();
    }
    queue.seek(m_offset);
    while (!queue.atEnd()) {
        const QByteArray chunk = queue.read(1 << 20);
        m_pending += chunk.count('\n');
    }
    return {};
}

QString ArchiveQueue::append(const ArchivePair &pair)
{
    QFile queue(m_path);
    if (!queue.open(QIODevice::WriteOnly | QIODevice::Append))
        return QStringLiteral("%1: %2").arg(m_path, queue.errorString());
    const QByteArray line = encodeArchivePair(pair) + '\n';
    if (queue.write(line) != line.size() || !queue.flush() || ::fdatasync(queue.handle()) != 0)
        return QStringLiteral("%1: %2").arg(m_path, queue.errorString());
    ++m_pending;
    return {};
}

ArchiveQueue::Batch ArchiveQueue::next(int max) const
{
    Batch batch;
    batch.end = m_offset;
    QFile queue(m_path);
    if (!queue.exists())
        return batch;
    if (!queue.open(QIODevice::ReadOnly) || !queue.seek(m_offset)) {
        batch.error = QStringLiteral("%1: %2").arg(m_path, queue.errorString());
        return batch;
    }
    while (int(batch.pairs.size()) < max && !queue.atEnd()) {
        QByteArray line = queue.readLine();
        if (!line.endsWith('\n'))
            break; // only complete lines; open() ends a cut one
        batch.end += line.size();
        ++batch.lines;
        line.chop(1);
        if (auto pair = decodeArchivePair(line))
            batch.pairs.push_back(std::move(*pair));
        else
            qWarning("corvane: archive queue line at byte %lld is unreadable and passed over",
                     batch.end - line.size() - 1);
    }
    return batch;
}

QString ArchiveQueue::commit(const Batch &batch)
{
    m_pending = qMax<qint64>(0, m_pending - batch.lines);
    m_offset = batch.end;
    if (m_offset >= QFileInfo(m_path).size()) {
        // Everything is in the archive: start again from an empty file. The queue goes
        // first, so that no progress is ever read against a newer queue.
        m_offset = 0;
        m_pending = 0;
        if (QFile::exists(m_path) && !QFile::remove(m_path))
            return QStringLiteral("%1 could not be removed").arg(m_path);
        if (QFile::exists(m_donePath) && !QFile::remove(m_donePath))
            return writeOffset(0);
        return {};
    }
    return writeOffset(m_offset);
}

QString ArchiveQueue::writeOffset(qint64 offset)
{
    QSaveFile done(m_donePath);
    if (!done.open(QIODevice::WriteOnly) || done.write(QByteArray::number(offset) + '\n') < 0 ||
        !done.commit())
        return QStringLiteral("%1: %2").arg(m_donePath, done.errorString());
    return {};
}
