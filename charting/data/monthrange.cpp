// Reading a table across month files and putting the records in time order.
#include "charting/data/monthrange.h"

#include "charting/data/chartfields.h"
#include "core/datetimeformat.h"
#include "logging/monthdatabase.h"

#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace {

constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();
constexpr qint64 kEpochDay = 2440588; // the Julian day of 1/1/1970

// The digits at `at`, at most `maxDigits`; -1 when there is none.
int number(QStringView s, qsizetype &at, int maxDigits)
{
    int v = 0, n = 0;
    while (at < s.size() && n < maxDigits && s[at].isDigit()) {
        v = v * 10 + s[at].digitValue();
        ++at;
        ++n;
    }
    return n > 0 ? v : -1;
}

bool expect(QStringView s, qsizetype &at, QChar c)
{
    if (at < s.size() && s[at] == c) {
        ++at;
        return true;
    }
    return false;
}

// A local wall-clock time in seconds since the epoch. The offset from UTC is asked once an
// hour: asking Qt for each of half a million records takes longer than reading them.
qint64 localSeconds(const QDate &date, int hour, int minute, int second)
{
    static QHash<qint64, qint64> offsets;
    const qint64 wallHour = (date.toJulianDay() - kEpochDay) * 24 + hour;
    auto it = offsets.constFind(wallHour);
    if (it == offsets.constEnd()) {
        const QDateTime t(date, QTime(hour, 0), Qt::LocalTime);
        it = offsets.insert(wallHour, t.toSecsSinceEpoch() - wallHour * 3600);
    }
    return wallHour * 3600 + minute * 60 + second + *it;
}

} // namespace

double generalDateSeconds(const QString &text)
{
    const QStringView s(text);
    qsizetype at = 0;
    const int month = number(s, at, 2);
    const int day = month > 0 && expect(s, at, u'/') ? number(s, at, 2) : -1;
    const int year = day > 0 && expect(s, at, u'/') ? number(s, at, 4) : -1;
    int hour = -1, minute = -1, second = -1;
    if (year > 0 && expect(s, at, u' ')) {
        hour = number(s, at, 2);
        minute = expect(s, at, u':') ? number(s, at, 2) : -1;
        second = expect(s, at, u':') ? number(s, at, 2) : -1;
    }
    const QDate d(year, month, day);
    const QStringView rest = s.sliced(std::min(at, s.size()));
    const bool pm = rest == QLatin1String(" PM");
    if (d.isValid() && hour >= 1 && hour <= 12 && minute >= 0 && minute < 60 && second >= 0 &&
        second < 60 && (pm || rest == QLatin1String(" AM")))
        return double(localSeconds(d, hour % 12 + (pm ? 12 : 0), minute, second));
    // Any other spelling a general date allows (the date alone, blanks around it).
    const QDateTime parsed = parseGeneralDate(text);
    return parsed.isValid() ? double(parsed.toSecsSinceEpoch()) : kMissing;
}

void MonthRange::clear()
{
    m_table.clear();
    m_fields.clear();
    m_timeField = -1;
    m_months.clear();
    m_read.clear();
    m_missing.clear();
    m_ordered = false;
    m_times.clear();
    m_order.clear();
    m_identity = true;
}

LogResult MonthRange::open(const QString &folder, const QDate &first, const QDate &last,
                           const QString &table)
{
    clear();
    const QDate from(first.year(), first.month(), 1);
    const QDate to(last.year(), last.month(), 1);
    if (!from.isValid() || !to.isValid() || to < from)
        return LogResult::failure(QStringLiteral("the last month is before the first"));
    const int months = (to.year() - from.year()) * 12 + to.month() - from.month() + 1;
    if (months > MaxMonths)
        return LogResult::failure(QStringLiteral("a range takes at most %1 months").arg(MaxMonths));
    m_table = table;
    for (QDate m = from; m <= to; m = m.addMonths(1)) {
        const QString path = MonthDatabase(folder, m);
        auto month = std::make_unique<MonthTable>();
        if (!QFileInfo::exists(path) || !month->open(path, table).ok()) {
            m_missing << monthDatabaseName(m);
            continue;
        }
        if (m_months.empty())
            m_fields = month->fieldNames();
        m_read << monthDatabaseName(m);
        m_months.push_back(std::move(month));
    }
    m_timeField = findDateTimeField(m_fields);
    const QString why =
        m_months.empty()    ? QStringLiteral("no month file of the range holds \"%1\"").arg(table)
        : m_timeField < 0 ? QStringLiteral("\"%1\" has no date/time field").arg(table)
                          : QString();
    if (why.isEmpty())
        return LogResult::success();
    const QStringList missing = m_missing;
    clear();
    m_missing = missing;
    return LogResult::failure(why);
}

LogResult MonthRange::fetch(const QStringList &fields)
{
    // Nothing asked: the date/time field waits for the first field, so that the files are
    // scanned once rather than once for the times and again for the series.
    if (m_months.empty() || fields.isEmpty())
        return LogResult::success();
    const QStringList wanted = QStringList(fields) << timeFieldName();
    for (const auto &month : m_months) {
        const LogResult r = month->fetch(wanted);
        if (!r.ok())
            return LogResult::failure(QStringLiteral("%1: %2").arg(month->path(), r.error));
    }
    if (!m_ordered)
        orderByTime();
    return LogResult::success();
}

void MonthRange::orderByTime()
{
    const QString field = timeFieldName();
    std::vector<double> all;
    for (const auto &month : m_months) {
        const int f = month->fieldIndex(field);
        for (int r = 0; r < month->recordCount(); ++r)
            all.push_back(f >= 0 ? generalDateSeconds(month->text(f, r)) : kMissing);
    }
    m_order.clear();
    for (size_t i = 0; i < all.size(); ++i) {
        if (!std::isnan(all[i]))
            m_order.push_back(qint64(i));
    }
    // Logged in order as a rule; a clock set back, or months out of turn, are mended here.
    const auto earlier = [&](qint64 a, qint64 b) { return all[size_t(a)] < all[size_t(b)]; };
    if (!std::is_sorted(m_order.begin(), m_order.end(), earlier))
        std::stable_sort(m_order.begin(), m_order.end(), earlier);
    m_identity = m_order.size() == all.size() && std::is_sorted(m_order.begin(), m_order.end());
    m_times.resize(m_order.size());
    for (size_t i = 0; i < m_order.size(); ++i)
        m_times[i] = all[size_t(m_order[i])];
    m_ordered = true;
}

std::vector<double> MonthRange::values(const QString &field) const
{
    if (!m_fields.contains(field))
        return {};
    if (field == timeFieldName())
        return m_times;
    std::vector<double> all;
    all.reserve(size_t(std::accumulate(m_months.begin(), m_months.end(), qint64(0),
                                       [](qint64 n, const std::unique_ptr<MonthTable> &m) {
                                           return n + m->recordCount();
                                       })));
    for (const auto &month : m_months) {
        const std::vector<double> &column = month->column(month->fieldIndex(field));
        if (column.empty()) // a month without the field, or not read: gaps
            all.insert(all.end(), size_t(month->recordCount()), kMissing);
        else
            all.insert(all.end(), column.begin(), column.end());
    }
    if (m_identity)
        return all;
    std::vector<double> ordered(m_order.size());
    for (size_t i = 0; i < m_order.size(); ++i)
        ordered[i] = all[size_t(m_order[i])];
    return ordered;
}

QStringList MonthRange::texts(const QString &field) const
{
    if (!m_fields.contains(field))
        return {};
    QStringList all;
    for (const auto &month : m_months) {
        const int f = month->fieldIndex(field);
        for (int r = 0; r < month->recordCount(); ++r)
            all << month->text(f, r);
    }
    if (m_identity)
        return all;
    QStringList ordered;
    ordered.reserve(int(m_order.size()));
    for (qint64 i : m_order)
        ordered << all.at(i);
    return ordered;
}
