// Matching modem replies over a bounded window of received bytes.
#include "paging/replymatcher.h"

#include <algorithm>

void ReplyMatcher::expect(const QList<QByteArray> &replies)
{
    m_expected = replies;
    m_longest = 0;
    for (const QByteArray &reply : replies)
        m_longest = std::max(m_longest, reply.size());
    m_tail.clear();
    m_progress.clear();
    // An empty reply is in every buffer, even one that has received nothing.
    m_found = std::any_of(replies.begin(), replies.end(),
                          [](const QByteArray &r) { return r.isEmpty(); });
}

bool ReplyMatcher::feed(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return m_found;
    m_progress.append(bytes);
    if (m_progress.size() > ProgressLimit)
        m_progress.remove(0, m_progress.size() - ProgressLimit);
    if (m_found)
        return true;
    // A reply not found before can only end in the new bytes, so the window is what came
    // before them that such a reply could reach back into, and the bytes themselves.
    m_tail.append(bytes);
    for (const QByteArray &reply : std::as_const(m_expected)) {
        if (m_tail.contains(reply)) {
            m_found = true;
            break;
        }
    }
    const qsizetype keep = std::max<qsizetype>(m_longest - 1, 0);
    if (m_tail.size() > keep)
        m_tail.remove(0, m_tail.size() - keep);
    return m_found;
}
