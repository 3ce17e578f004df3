// Reading a month log table in one query on a read-only connection.
#include "charting/data/monthtable.h"

#include "logging/sqlitefile.h"

#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <cmath>
#include <limits>

namespace {

const std::vector<double> kNoValues;
constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();

QString quoted(const QString &identifier)
{
    return QLatin1Char('"') +
           QString(identifier).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

double numberOf(const QString &text)
{
    bool ok = false;
    const double v = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok && std::isfinite(v) ? v : kMissing;
}

} // namespace

LogResult MonthTable::listTables(const QString &path, QStringList *tables)
{
    tables->clear();
    SqliteFile db;
    LogResult r = db.open(path, SqliteFile::Mode::ReadOnly, BusyTimeoutMs);
    if (!r.ok())
        return r;
    QSqlQuery q(db.database());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                               "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name")))
        return LogResult::failure(q.lastError().text());
    while (q.next()) {
        const QString name = q.value(0).toString();
        if (!name.contains(QLatin1String("MS"))) // case-sensitive: "Forms" stays
            tables->append(name);
    }
    return LogResult::success();
}

void MonthTable::clear()
{
    m_path.clear();
    m_table.clear();
    m_fields.clear();
    m_columns.clear();
    m_records = 0;
}

LogResult MonthTable::load(const QString &path, const QString &table)
{
    clear();
    SqliteFile db;
    LogResult r = db.open(path, SqliteFile::Mode::ReadOnly, BusyTimeoutMs);
    if (!r.ok())
        return r;
    QSqlQuery q(db.database());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT * FROM %1").arg(quoted(table))))
        return LogResult::failure(q.lastError().text());

    const QSqlRecord fields = q.record();
    std::vector<Column> columns(size_t(fields.count()));
    int records = 0;
    while (q.next()) {
        for (int c = 0; c < int(columns.size()); ++c) {
            Column &col = columns[size_t(c)];
            const QVariant v = q.value(c);
            const bool numeric = v.typeId() == QMetaType::Double ||
                                 v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int;
            double number = kMissing;
            if (numeric && !v.isNull()) {
                number = v.toDouble();
                if (!std::isfinite(number))
                    number = kMissing;
            } else if (!v.isNull()) {
                const QString text = v.toString();
                number = numberOf(text);
                if (col.texts.size() < records)
                    col.texts.resize(records); // earlier records held numbers or NULL
                col.texts.append(text);
            }
            col.numbers.push_back(number);
        }
        ++records;
    }
    if (q.lastError().isValid())
        return LogResult::failure(q.lastError().text());
    q.finish();

    for (int c = 0; c < fields.count(); ++c)
        m_fields << fields.fieldName(c);
    m_columns = std::move(columns);
    m_records = records;
    m_path = path;
    m_table = table;
    return LogResult::success();
}

const std::vector<double> &MonthTable::column(int field) const
{
    if (field < 0 || field >= int(m_columns.size()))
        return kNoValues;
    return m_columns[size_t(field)].numbers;
}

QString MonthTable::text(int field, int record) const
{
    if (field < 0 || field >= int(m_columns.size()) || record < 0 || record >= m_records)
        return {};
    const Column &col = m_columns[size_t(field)];
    if (record < col.texts.size() && !col.texts[record].isEmpty())
        return col.texts[record];
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
