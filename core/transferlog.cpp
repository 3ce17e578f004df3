// The transfer log.
#include "core/transferlog.h"

TransferLog::TransferLog(int capacity, QObject *parent)
    : QObject(parent), m_capacity(qMax(1, capacity))
{
}

void TransferLog::add(const TransferLogEntry &entry)
{
    m_entries.append(entry);
    if (m_entries.size() > m_capacity)
        m_entries.remove(0, m_entries.size() - m_capacity);
    emit entryAdded(entry);
}
