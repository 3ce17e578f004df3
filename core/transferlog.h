// The last things worth knowing about transfers: why they failed, and notes such as a host
// key recorded on first contact, each with its time.
#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

struct TransferLogEntry
{
    enum Kind { Failure, Note };
    QDateTime time;
    QString text;
    Kind kind = Failure;
};

// Keeps the newest `capacity` entries; the desktop lists them, headless mode prints them.
class TransferLog : public QObject
{
    Q_OBJECT
public:
    static constexpr int kCapacity = 100;

    explicit TransferLog(int capacity = kCapacity, QObject *parent = nullptr);

    // Oldest first.
    QList<TransferLogEntry> entries() const { return m_entries; }

    void add(const TransferLogEntry &entry);

signals:
    void entryAdded(const TransferLogEntry &entry);

private:
    int m_capacity;
    QList<TransferLogEntry> m_entries;
};
