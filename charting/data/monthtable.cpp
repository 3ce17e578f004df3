// Reading a month log table's fields through SQLite's own interface, one query per read: a
// month of one-minute records holds 2.3 million values, too many to pass through a QVariant
// each.
#include "charting/data/monthtable.h"

#include <QLocale>
#include <QUrl>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <sqlite3.h>

namespace {

const std::vector<double> kNoValues;
constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();

QString quoted(const QString &identifier)
{
    return QLatin1Char('"') +
           QString(identifier).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

// A read-only connection with a short busy timeout, closed when it goes out of scope.
class ReadConnection
{
public:
    explicit ReadConnection(const QString &path)
    {
        // fromLocalFile escapes blanks, '?', '#' and '%' in the path.
        const QByteArray uri =
            QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded).toUtf8() + "?mode=ro";
        if (sqlite3_open_v2(uri.constData(), &m_db,
                            SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX,
                            nullptr) != SQLITE_OK) {
            m_error = error();
            return;
        }
        sqlite3_busy_timeout(m_db, MonthTable::BusyTimeoutMs);
        // Pages mapped instead of copied: a month file is read from end to end.
        sqlite3_exec(m_db, "PRAGMA mmap_size = 268435456", nullptr, nullptr, nullptr);
    }
    ~ReadConnection()
    {
        sqlite3_finalize(m_stmt);
        sqlite3_close(m_db);
    }
    ReadConnection(const ReadConnection &) = delete;
    ReadConnection &operator=(const ReadConnection &) = delete;

    // Prepares `sql`; a file that is no database fails here.
    sqlite3_stmt *prepare(const QString &sql)
    {
        if (!m_error.isEmpty())
            return nullptr;
        if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &m_stmt, nullptr) != SQLITE_OK)
            m_error = error();
        return m_stmt;
    }
    LogResult result() const
    {
        return m_error.isEmpty() ? LogResult::success() : LogResult::failure(m_error);
    }
    QString error() const
    {
        return m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("out of memory");
    }
    void fail() { m_error = error(); }

private:
    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_stmt = nullptr;
    QString m_error;
};

// A text that is a number in C form, blanks around it allowed; NaN otherwise.
double numberOf(const char *text, int size)
{
    const char *begin = text;
    const char *end = text + size;
    while (begin < end && (*begin == ' ' || *begin == '\t'))
        ++begin;
    while (end > begin && (end[-1] == ' ' || end[-1] == '\t'))
        --end;
    double v = 0;
    const auto [next, ec] = std::from_chars(begin, end, v);
    return ec == std::errc() && next == end && begin != end && std::isfinite(v) ? v : kMissing;
}

} // namespace

LogResult MonthTable::listTables(const QString &path, QStringList *tables)
{
    tables->clear();
    ReadConnection db(path);
    sqlite3_stmt *q =
        db.prepare(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                  "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name"));
    if (!q)
        return db.result();
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(q)) == SQLITE_ROW) {
        const QString name = QString::fromUtf8(
            reinterpret_cast<const char *>(sqlite3_column_text(q, 0)), sqlite3_column_bytes(q, 0));
        if (!name.contains(QLatin1String("MS"))) // case-sensitive: "Forms" stays
            tables->append(name);
    }
    if (rc != SQLITE_DONE) {
        db.fail();
        tables->clear();
    }
    return db.result();
}

void MonthTable::clear()
{
    m_path.clear();
    m_table.clear();
    m_fields.clear();
    m_columns.clear();
    m_records = 0;
    m_counted = false;
}

LogResult MonthTable::open(const QString &path, const QString &table)
{
    clear();
    ReadConnection db(path);
    // Prepared only, for the field names: no record is read yet.
    sqlite3_stmt *q = db.prepare(QStringLiteral("SELECT * FROM %1").arg(quoted(table)));
    if (!q)
        return db.result();
    const int count = sqlite3_column_count(q);
    for (int c = 0; c < count; ++c)
        m_fields << QString::fromUtf8(sqlite3_column_name(q, c));
    m_columns.resize(size_t(count));
    m_path = path;
    m_table = table;
    return LogResult::success();
}

LogResult MonthTable::fetch(const QStringList &fields)
{
    std::vector<int> wanted;
    QStringList names;
    for (const QString &f : fields) {
        const int i = fieldIndex(f);
        if (i >= 0 && !m_columns[size_t(i)].fetched &&
            std::find(wanted.begin(), wanted.end(), i) == wanted.end()) {
            wanted.push_back(i);
            names << quoted(f);
        }
    }
    if (wanted.empty())
        return LogResult::success();

    ReadConnection db(m_path);
    // The first read takes every record there is; later ones the same first N, so that all
    // fields have the same records however many were logged in between.
    QString sql = QStringLiteral("SELECT %1 FROM %2")
                      .arg(names.join(QStringLiteral(", ")), quoted(m_table));
    if (m_counted)
        sql += QStringLiteral(" LIMIT %1").arg(m_records);
    sqlite3_stmt *q = db.prepare(sql);
    if (!q)
        return db.result();

    std::vector<Column> columns(wanted.size());
    for (Column &col : columns)
        col.numbers.reserve(size_t(m_records));
    int records = 0;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(q)) == SQLITE_ROW) {
        for (int c = 0; c < int(columns.size()); ++c) {
            Column &col = columns[size_t(c)];
            double number = kMissing;
            switch (sqlite3_column_type(q, c)) {
            case SQLITE_INTEGER:
            case SQLITE_FLOAT:
                number = sqlite3_column_double(q, c);
                if (!std::isfinite(number))
                    number = kMissing;
                break;
            case SQLITE_TEXT: {
                const char *text = reinterpret_cast<const char *>(sqlite3_column_text(q, c));
                const int size = sqlite3_column_bytes(q, c);
                number = numberOf(text, size);
                if (col.textEnds.size() < size_t(records)) // earlier records held no text
                    col.textEnds.resize(size_t(records), quint32(col.textData.size()));
                col.textData.append(text, size);
                col.textEnds.push_back(quint32(col.textData.size()));
                break;
            }
            default: // NULL, or a blob, which is no number either
                break;
            }
            col.numbers.push_back(number);
        }
        ++records;
    }
    if (rc != SQLITE_DONE) {
        db.fail();
        return db.result();
    }
    if (!m_counted) {
        m_records = records;
        m_counted = true;
    }
    for (size_t i = 0; i < wanted.size(); ++i) {
        Column &col = columns[i];
        col.numbers.resize(size_t(m_records), kMissing); // records deleted since: gaps
        col.fetched = true;
        m_columns[size_t(wanted[i])] = std::move(col);
    }
    return LogResult::success();
}

bool MonthTable::isFetched(int field) const
{
    return field >= 0 && field < int(m_columns.size()) && m_columns[size_t(field)].fetched;
}

const std::vector<double> &MonthTable::column(int field) const
{
    if (!isFetched(field))
        return kNoValues;
    return m_columns[size_t(field)].numbers;
}

QString MonthTable::text(int field, int record) const
{
    if (field < 0 || field >= int(m_columns.size()) || record < 0 || record >= m_records)
        return {};
    const Column &col = m_columns[size_t(field)];
    if (!col.fetched)
        return {};
    if (size_t(record) < col.textEnds.size()) {
        const quint32 begin = record > 0 ? col.textEnds[size_t(record) - 1] : 0;
        const quint32 end = col.textEnds[size_t(record)];
        if (end > begin)
            return QString::fromUtf8(col.textData.constData() + begin, int(end - begin));
    }
    const double v = col.numbers[size_t(record)];
    return std::isnan(v) ? QString() : QString::number(v, 'f', QLocale::FloatingPointShortest);
}

std::vector<double> MonthTable::values(const QString &field) const
{
    return column(fieldIndex(field));
}

QStringList MonthTable::texts(const QString &field) const
{
    const int f = fieldIndex(field);
    if (f < 0)
        return {};
    QStringList out;
    out.reserve(m_records);
    for (int r = 0; r < m_records; ++r)
        out.append(text(f, r));
    return out;
}
