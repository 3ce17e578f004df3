// Token substitution over the chain of text between asterisks.
//
// A token is "*" + middle + "*" with no asterisk in the middle, so an occurrence of a token
// is always two neighbouring asterisks of the text with a token's middle between them.
// The text is kept as the list of gaps between its asterisks. Replacing a token removes
// its two asterisks and joins the gap before it, the value and the gap after it into one
// gap, which may in turn be the middle of a token. Asterisks are never added (values are
// inserted as plain characters), so there are at most half as many replacements as
// asterisks, and each replacement costs constant time.
#include "publishing/templateexpander.h"

#include <QHash>
#include <vector>

namespace {

struct Piece
{
    const QChar *data;
    qsizetype size;
    int next;
};

struct Gap
{
    int head = -1; // first piece, or -1 when the gap is empty
    int tail = -1;
    qsizetype length = 0;
    int prev = -1;
    int next = -1;
    int priority = -1; // index of the token whose middle this gap is, or -1
    bool alive = true;
};

class Expander
{
public:
    Expander(const QString &text, const TokenValues &values) : m_text(text), m_values(values) {}

    QString run();

private:
    bool buildTokenTable();
    void splitAtAsterisks();
    int classify(const Gap &gap);
    void appendChain(Gap &to, const Gap &from);
    void appendPiece(Gap &to, const QChar *data, qsizetype size);
    int replace(int gapId, int sweepPriority);
    QString join() const;

    const QString &m_text;
    const TokenValues &m_values;
    QHash<QString, int> m_middles; // token middle -> first index in m_values
    qsizetype m_minMiddle = 0;
    qsizetype m_maxMiddle = 0;
    std::vector<Piece> m_pieces;
    std::vector<Gap> m_gaps;
    int m_head = -1;
    std::vector<std::vector<int>> m_buckets; // gaps classified per token, left to right
    std::vector<int> m_active;               // live gaps per token
    std::vector<bool> m_unordered;           // bucket holds gaps made by joins
    QString m_scratch;
};

bool Expander::buildTokenTable()
{
    for (int i = 0; i < m_values.size(); ++i) {
        const QString &t = m_values.at(i).token;
        if (t.size() < 3 || t.front() != QLatin1Char('*') || t.back() != QLatin1Char('*'))
            continue;
        const QString middle = t.mid(1, t.size() - 2);
        if (middle.contains(QLatin1Char('*')) || m_middles.contains(middle))
            continue;
        m_middles.insert(middle, i);
        m_minMiddle = m_minMiddle == 0 ? middle.size() : qMin(m_minMiddle, middle.size());
        m_maxMiddle = qMax(m_maxMiddle, middle.size());
    }
    return !m_middles.isEmpty();
}

void Expander::appendPiece(Gap &to, const QChar *data, qsizetype size)
{
    if (size == 0)
        return; // empty pieces are never stored, so a short gap has few pieces to read
    m_pieces.push_back({data, size, -1});
    const int id = int(m_pieces.size() - 1);
    if (to.tail >= 0)
        m_pieces[size_t(to.tail)].next = id;
    else
        to.head = id;
    to.tail = id;
    to.length += size;
}

void Expander::appendChain(Gap &to, const Gap &from)
{
    if (from.head < 0)
        return;
    if (to.tail >= 0)
        m_pieces[size_t(to.tail)].next = from.head;
    else
        to.head = from.head;
    to.tail = from.tail;
    to.length += from.length;
}

int Expander::classify(const Gap &gap)
{
    // The first and the last gap have an asterisk on one side only.
    if (gap.prev < 0 || gap.next < 0 || gap.length < m_minMiddle || gap.length > m_maxMiddle)
        return -1;
    m_scratch.clear();
    for (int p = gap.head; p >= 0; p = m_pieces[size_t(p)].next)
        m_scratch.append(m_pieces[size_t(p)].data, m_pieces[size_t(p)].size);
    return m_middles.value(m_scratch, -1);
}

void Expander::splitAtAsterisks()
{
    const QChar *data = m_text.constData();
    const qsizetype n = m_text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i <= n; ++i) {
        if (i < n && data[i] != QLatin1Char('*'))
            continue;
        Gap g;
        g.prev = int(m_gaps.size()) - 1;
        appendPiece(g, data + start, i - start);
        if (g.prev >= 0)
            m_gaps[size_t(g.prev)].next = int(m_gaps.size());
        m_gaps.push_back(g);
        start = i + 1;
    }
    m_head = 0;
    // Classify once all neighbours are linked, left to right, so that every bucket starts
    // in text order.
    for (size_t id = 0; id < m_gaps.size(); ++id) {
        const int priority = classify(m_gaps[id]);
        m_gaps[id].priority = priority;
        if (priority >= 0) {
            m_buckets[size_t(priority)].push_back(int(id));
            ++m_active[size_t(priority)];
        }
    }
}

// Replaces the token of `gapId`, then goes on replacing at the same place for as long as
// the joined gap is a token that the scan would take next: one earlier in the scan order
// than the tokens being swept (none of those is left anywhere else) or the same token
// (nothing of it is left further to the left). Returns the gap standing in its place.
int Expander::replace(int gapId, int sweepPriority)
{
    int current = gapId;
    for (;;) {
        const Gap mid = m_gaps[size_t(current)];
        const Gap left = m_gaps[size_t(mid.prev)];
        const Gap right = m_gaps[size_t(mid.next)];
        --m_active[size_t(mid.priority)];
        if (left.priority >= 0)
            --m_active[size_t(left.priority)];
        if (right.priority >= 0)
            --m_active[size_t(right.priority)];
        m_gaps[size_t(mid.prev)].alive = false;
        m_gaps[size_t(current)].alive = false;
        m_gaps[size_t(mid.next)].alive = false;

        Gap joined;
        joined.prev = left.prev;
        joined.next = right.next;
        appendChain(joined, left);
        const QString &value = m_values.at(mid.priority).value;
        appendPiece(joined, value.constData(), value.size());
        appendChain(joined, right);
        const int id = int(m_gaps.size());
        if (joined.prev >= 0)
            m_gaps[size_t(joined.prev)].next = id;
        else
            m_head = id;
        if (joined.next >= 0)
            m_gaps[size_t(joined.next)].prev = id;
        joined.priority = classify(joined);
        m_gaps.push_back(joined);

        if (joined.priority < 0)
            return id;
        ++m_active[size_t(joined.priority)];
        if (joined.priority <= sweepPriority) {
            current = id;
            continue;
        }
        m_buckets[size_t(joined.priority)].push_back(id);
        m_unordered[size_t(joined.priority)] = true;
        return id;
    }
}

QString Expander::join() const
{
    qsizetype total = 0;
    for (int g = m_head; g >= 0; g = m_gaps[size_t(g)].next)
        total += m_gaps[size_t(g)].length + 1;
    QString out;
    out.reserve(total);
    for (int g = m_head; g >= 0; g = m_gaps[size_t(g)].next) {
        if (g != m_head)
            out.append(QLatin1Char('*'));
        for (int p = m_gaps[size_t(g)].head; p >= 0; p = m_pieces[size_t(p)].next)
            out.append(m_pieces[size_t(p)].data, m_pieces[size_t(p)].size);
    }
    return out;
}

QString Expander::run()
{
    if (!m_text.contains(QLatin1Char('*')) || !buildTokenTable())
        return m_text;
    const size_t tokens = size_t(m_values.size());
    m_buckets.resize(tokens);
    m_active.assign(tokens, 0);
    m_unordered.assign(tokens, false);
    const qsizetype asterisks = m_text.count(QLatin1Char('*'));
    m_gaps.reserve(size_t(asterisks + 1 + asterisks / 2));
    m_pieces.reserve(size_t(asterisks + 1 + asterisks / 2));
    splitAtAsterisks();

    // Token by token in scan order, each swept left to right: exactly the order in which
    // the plain scan loop would replace them.
    for (size_t p = 0; p < tokens; ++p) {
        if (m_active[p] == 0)
            continue;
        const int priority = int(p);
        if (!m_unordered[p]) {
            const std::vector<int> &bucket = m_buckets[p];
            for (size_t i = 0; i < bucket.size() && m_active[p] > 0; ++i) {
                const Gap &g = m_gaps[size_t(bucket[i])];
                if (g.alive && g.priority == priority)
                    replace(bucket[i], priority);
            }
        } else {
            // Joins put gaps of this token out of text order: walk the whole chain.
            for (int g = m_head; g >= 0 && m_active[p] > 0;) {
                if (m_gaps[size_t(g)].priority == priority)
                    g = replace(g, priority);
                g = m_gaps[size_t(g)].next;
            }
        }
    }
    return join();
}

} // namespace

QString ExpandTemplateText(const QString &text, const TokenValues &values)
{
    return Expander(text, values).run();
}
