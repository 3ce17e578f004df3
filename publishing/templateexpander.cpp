// Token substitution over the gaps between asterisks, one run of possible tokens at a time.
//
// A token is "*" + middle + "*" with no asterisk in the middle, so an occurrence of a token
// is always two neighbouring asterisks of the text with a token's middle between them.
// The text is seen as the gaps between its asterisks. Replacing a token removes its two
// asterisks and joins the gap before it, the value and the gap after it into one gap,
// which may in turn be the middle of a token. Asterisks are never added (values are
// inserted as plain characters), so there are at most half as many replacements as
// asterisks.
//
// A gap that is no part of any middle (a tag, a sentence, a number) can never be a token,
// and neither can any gap that holds it after joins. These barriers cut the text into
// runs that do not act on each other; each run with a token is expanded alone and written
// out at once. Within a run a range of joined gaps is known by its two ends, which point
// at each other, and by the class of its text (a token, empty, a part of a middle kept
// aside, or a barrier): 6 bytes per gap of the run. A replaced range keeps its ends and is
// marked, and writing the run walks the text again, putting each outermost replaced range's
// value in place of its two asterisks and everything between them.
#include "publishing/templateexpander.h"

#include <QByteArray>
#include <QHash>
#include <QStringList>
#include <algorithm>
#include <cstring>
#include <functional>
#include <type_traits>
#include <vector>

namespace {

// Classes of a range; below TokenLimit a class is the index of the token its text is.
constexpr quint16 TokenLimit = 0x7ff0;
constexpr quint16 EmptyGap = 0x7ff0;   // no characters: a part of every middle
constexpr quint16 PartGap = 0x7ff1;    // a part of some middle, its text in m_partText
constexpr quint16 BarrierGap = 0x7ff2; // a part of no middle
constexpr quint16 Replaced = 0x8000;   // flag on the class of a replaced range's first gap

// Output is gathered into pieces of this size before it is handed on.
constexpr qsizetype PieceSize = 64 * 1024;

const char *findStar(const char *from, const char *end)
{
    if (from == end)
        return end;
    const void *p = std::memchr(from, '*', size_t(end - from));
    return p ? static_cast<const char *>(p) : end;
}

const QChar *findStar(const QChar *from, const QChar *end)
{
    while (from != end && *from != QLatin1Char('*'))
        ++from;
    return from;
}

template <typename Char> class Output
{
public:
    virtual ~Output() = default;
    virtual bool write(const Char *data, qsizetype size) = 0;
};

class StringOutput final : public Output<QChar>
{
public:
    explicit StringOutput(QString &to) : m_to(to) {}
    bool write(const QChar *data, qsizetype size) override
    {
        m_to.append(data, size);
        return true;
    }

private:
    QString &m_to;
};

class PieceOutput final : public Output<char>
{
public:
    explicit PieceOutput(const ByteSink &sink) : m_sink(sink) {}
    bool write(const char *data, qsizetype size) override
    {
        if (m_piece.size() + size > PieceSize && !flush())
            return false;
        if (size >= PieceSize)
            return m_sink(QByteArrayView(data, size));
        if (m_piece.capacity() < PieceSize)
            m_piece.reserve(PieceSize);
        m_piece.append(data, size);
        return true;
    }
    bool flush()
    {
        if (m_piece.isEmpty())
            return true;
        const bool ok = m_sink(m_piece);
        m_piece.resize(0);
        return ok;
    }

private:
    const ByteSink &m_sink;
    QByteArray m_piece;
};

// Str is QString or QByteArray (Latin-1); Char its character type.
template <typename Str, typename Char> class Expander
{
public:
    Expander(const Str &text, const TokenValues &values, Output<Char> &out);
    bool run();

private:
    void buildTokenTable(const TokenValues &values);
    quint16 classify(const Char *from, const Char *to) const;
    bool expandRun(const Char *firstStar, qint32 gaps);
    qint32 replace(qint32 first, quint16 sweep);
    quint16 joinedClass(qint32 left, quint16 token, qint32 right);
    Str rangeText(qint32 first) const;
    bool writeRun(const Char *firstStar, qint32 gaps);

    const Char *m_begin;
    const Char *m_end;
    Output<Char> &m_out;

    QList<Str> m_middles;    // per entry; empty for an entry that is ignored
    QList<Str> m_values;     // per entry
    QHash<Str, int> m_parts; // every part of a middle ("" too): the entry it is whole, or -1
    qsizetype m_maxMiddle = 0;

    // The run in hand. Gap 0 and gap n+1 are the barriers around its n gaps.
    std::vector<qint32> m_end2; // at either end of a range: the other end
    std::vector<quint16> m_class;
    QHash<qint32, Str> m_partText; // PartGap texts by the range's first gap
    std::vector<bool> m_pending;   // tokens with a range in the run, by entry
    std::vector<quint16> m_sweeps; // the same as a min-heap
};

template <typename Str, typename Char>
Expander<Str, Char>::Expander(const Str &text, const TokenValues &values, Output<Char> &out)
    : m_begin(reinterpret_cast<const Char *>(text.constData())), m_end(m_begin + text.size()),
      m_out(out)
{
    buildTokenTable(values);
}

// The table of middles and their parts depends on the tokens alone, and a publishing pass
// expands every page (and a pager check every message) with the same tokens, so the last
// table built on this thread is kept and shared. Only the values are taken afresh.
template <typename Str> struct TokenTable
{
    QStringList tokens;
    QList<Str> middles; // per entry; empty for an entry that is ignored
    QHash<Str, int> parts;
    qsizetype maxMiddle = 0;

    void build(const QStringList &from)
    {
        tokens = from;
        middles.clear();
        parts.clear();
        maxMiddle = 0;
        for (qsizetype i = 0; i < tokens.size(); ++i) {
            const QString &t = tokens.at(i);
            bool usable = t.size() >= 3 && t.front() == QLatin1Char('*') &&
                          t.back() == QLatin1Char('*') && !t.mid(1, t.size() - 2).contains(u'*');
            Str middle;
            if constexpr (std::is_same_v<Str, QByteArray>) {
                for (QChar c : t)
                    usable = usable && c.unicode() <= 0xff;
                middle = t.mid(1, t.size() - 2).toLatin1();
            } else {
                middle = t.mid(1, t.size() - 2);
            }
            const auto whole = parts.constFind(middle);
            if (!usable || (whole != parts.constEnd() && whole.value() >= 0)) {
                middles.append(Str());
                continue;
            }
            // A middle may be a part of a longer one, listed before or after it.
            for (qsizetype from = 0; from <= middle.size(); ++from) {
                for (qsizetype to = from; to <= middle.size(); ++to) {
                    // Looked up without a copy: most parts (single letters) are there already.
                    const Str part = Str::fromRawData(middle.constData() + from, to - from);
                    if (!parts.contains(part))
                        parts.insert(Str(part.constData(), part.size()), -1);
                }
            }
            parts.insert(middle, int(i));
            maxMiddle = qMax(maxMiddle, middle.size());
            middles.append(middle);
        }
    }
};

template <typename Str, typename Char>
void Expander<Str, Char>::buildTokenTable(const TokenValues &values)
{
    const qsizetype count = qMin(values.size(), qsizetype(TokenLimit));
    QStringList tokens;
    tokens.reserve(count);
    for (qsizetype i = 0; i < count; ++i)
        tokens.append(values.at(i).token);
    thread_local TokenTable<Str> last;
    if (tokens != last.tokens)
        last.build(tokens);
    m_middles = last.middles;
    m_parts = last.parts;
    m_maxMiddle = last.maxMiddle;
    m_values.reserve(count);
    for (qsizetype i = 0; i < count; ++i) {
        if (m_middles.at(i).isEmpty())
            m_values.append(Str());
        else if constexpr (std::is_same_v<Str, QByteArray>)
            m_values.append(values.at(i).value.toLatin1());
        else
            m_values.append(values.at(i).value);
    }
}

template <typename Str, typename Char>
quint16 Expander<Str, Char>::classify(const Char *from, const Char *to) const
{
    const qsizetype size = to - from;
    if (size == 0)
        return EmptyGap;
    if (size > m_maxMiddle)
        return BarrierGap;
    const auto it = m_parts.constFind(Str::fromRawData(from, size));
    if (it == m_parts.constEnd())
        return BarrierGap;
    return it.value() >= 0 ? quint16(it.value()) : PartGap;
}

template <typename Str, typename Char> bool Expander<Str, Char>::run()
{
    const Char *star = findStar(m_begin, m_end);
    if (m_parts.isEmpty() || star == m_end)
        return m_out.write(m_begin, m_end - m_begin);
    const Char *written = m_begin; // text before this is out
    // `star` ends a barrier gap (the text's first gap to begin with): a run may follow.
    while (star != m_end) {
        const Char *last = star; // the asterisk after the run's last gap
        qint32 gaps = 0;
        bool hasToken = false;
        for (;;) {
            const Char *next = findStar(last + 1, m_end);
            if (next == m_end)
                break; // the text's last gap, after its last asterisk, is never a token
            const quint16 cls = classify(last + 1, next);
            if (cls == BarrierGap)
                break;
            hasToken = hasToken || cls < TokenLimit;
            ++gaps;
            last = next;
        }
        if (hasToken) {
            if (!m_out.write(written, star - written) || !expandRun(star, gaps))
                return false;
            written = last + 1;
        }
        // Past the barrier gap that ended the run.
        star = findStar(last + 1, m_end);
    }
    return m_out.write(written, m_end - written);
}

template <typename Str, typename Char>
bool Expander<Str, Char>::expandRun(const Char *firstStar, qint32 gaps)
{
    const auto n = size_t(gaps);
    m_end2.resize(n + 2);
    m_class.resize(n + 2);
    m_partText.clear();
    m_pending.assign(m_middles.size(), false);
    m_sweeps.clear();
    m_end2[0] = 0;
    m_end2[n + 1] = qint32(n + 1);
    m_class[0] = BarrierGap;
    m_class[n + 1] = BarrierGap;
    const Char *star = firstStar;
    for (size_t i = 1; i <= n; ++i) {
        const Char *next = findStar(star + 1, m_end);
        const quint16 cls = classify(star + 1, next);
        m_end2[i] = qint32(i);
        m_class[i] = cls;
        if (cls == PartGap)
            m_partText.insert(qint32(i), Str(star + 1, next - star - 1));
        if (cls < TokenLimit && !m_pending[cls]) {
            m_pending[cls] = true;
            m_sweeps.push_back(cls);
            std::push_heap(m_sweeps.begin(), m_sweeps.end(), std::greater<>());
        }
        star = next;
    }

    // Token by token in scan order, each swept left to right: exactly the order in which
    // the plain scan loop would replace them.
    while (!m_sweeps.empty()) {
        std::pop_heap(m_sweeps.begin(), m_sweeps.end(), std::greater<>());
        const quint16 sweep = m_sweeps.back();
        m_sweeps.pop_back();
        m_pending[sweep] = false;
        for (qint32 first = m_end2[0] + 1; first <= gaps;) {
            if (m_class[size_t(first)] == sweep)
                first = replace(first, sweep);
            first = m_end2[size_t(first)] + 1;
        }
    }
    return writeRun(firstStar, gaps);
}

// Replaces the token of the range starting at `first`, then goes on replacing at the same
// place for as long as the joined range is a token that the scan would take next: one
// earlier in the scan order than the token being swept (none of those is left anywhere
// else) or the same token (nothing of it is left further to the left). Returns the first
// gap of the range standing in its place.
template <typename Str, typename Char>
qint32 Expander<Str, Char>::replace(qint32 first, quint16 sweep)
{
    for (;;) {
        const qint32 last = m_end2[size_t(first)];
        const qint32 left = m_end2[size_t(first) - 1];
        const qint32 right = last + 1;
        const qint32 rightEnd = m_end2[size_t(right)];
        const quint16 token = m_class[size_t(first)];
        const quint16 joined = joinedClass(left, token, right);
        m_class[size_t(first)] = Replaced | token;
        m_partText.remove(right);
        m_end2[size_t(left)] = rightEnd;
        m_end2[size_t(rightEnd)] = left;
        m_class[size_t(left)] = joined;
        if (joined >= TokenLimit)
            return left;
        if (joined <= sweep) {
            first = left;
            continue;
        }
        if (!m_pending[joined]) {
            m_pending[joined] = true;
            m_sweeps.push_back(joined);
            std::push_heap(m_sweeps.begin(), m_sweeps.end(), std::greater<>());
        }
        return left;
    }
}

template <typename Str, typename Char> Str Expander<Str, Char>::rangeText(qint32 first) const
{
    const quint16 cls = m_class[size_t(first)];
    if (cls < TokenLimit)
        return m_middles.at(cls);
    return cls == PartGap ? m_partText.value(first) : Str();
}

// The class of left range + value + right range, kept aside when it is a part of a middle.
template <typename Str, typename Char>
quint16 Expander<Str, Char>::joinedClass(qint32 left, quint16 token, qint32 right)
{
    const quint16 leftClass = m_class[size_t(left)];
    const quint16 rightClass = m_class[size_t(right)];
    if (leftClass == BarrierGap || rightClass == BarrierGap)
        return BarrierGap;
    const Str &value = m_values.at(token);
    if (value.size() > m_maxMiddle)
        return BarrierGap;
    const Str text = rangeText(left) + value + rangeText(right);
    const auto it = m_parts.constFind(text);
    if (it == m_parts.constEnd())
        return BarrierGap;
    if (it.value() >= 0)
        return quint16(it.value());
    if (text.isEmpty())
        return EmptyGap;
    m_partText.insert(left, text);
    return PartGap;
}

// Writes the run from the asterisk before its first gap to the one after its last.
template <typename Str, typename Char>
bool Expander<Str, Char>::writeRun(const Char *firstStar, qint32 gaps)
{
    const Char star = Char('*');
    const Char *at = firstStar; // the asterisk after gap i
    for (qint32 i = 0;;) {
        const quint16 next = m_class[size_t(i) + 1];
        if (i < gaps && (next & Replaced)) {
            // The two asterisks around the replaced range and all between them.
            const qint32 last = m_end2[size_t(i) + 1];
            const Str &value = m_values.at(next & ~Replaced);
            if (!m_out.write(reinterpret_cast<const Char *>(value.constData()), value.size()))
                return false;
            for (; i < last; ++i)
                at = findStar(at + 1, m_end);
        } else if (!m_out.write(&star, 1)) {
            return false;
        }
        if (i == gaps)
            return true; // the barrier after the run is written with the text around it
        const Char *following = findStar(at + 1, m_end);
        if (!m_out.write(at + 1, following - at - 1))
            return false;
        at = following;
        ++i;
    }
}

} // namespace

QString ExpandTemplateText(const QString &text, const TokenValues &values)
{
    QString out;
    StringOutput output(out);
    Expander<QString, QChar>(text, values, output).run();
    return out;
}

bool ExpandTemplateBytes(QByteArrayView text, const TokenValues &values, const ByteSink &sink)
{
    // The view is read in place, never copied.
    const QByteArray bytes = QByteArray::fromRawData(text.data(), text.size());
    PieceOutput output(sink);
    return Expander<QByteArray, char>(bytes, values, output).run() && output.flush();
}
