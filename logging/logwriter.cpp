// The logging pass: each record pair is one durable transaction on a file opened only for it.
#include "logging/logwriter.h"

#include "acquisition/readingsrecord.h"
#include "core/clock.h"
#include "core/datetimeformat.h"
#include "core/statusboard.h"
#include "logging/monthdatabase.h"
#include "logging/sqlitefile.h"

#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>

namespace {

QString quoted(const QString &identifier)
{
    return QLatin1Char('"') +
           QString(identifier).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

QSet<QString> tableColumns(QSqlDatabase &db, const QString &table)
{
    QSet<QString> names;
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(quoted(table))))
        return names;
    while (q.next())
        names.insert(q.value(1).toString().toLower()); // SQLite column names ignore case
    return names;
}

// One record into `table`, inside the caller's transaction. A column missing from the
// template loses only its own value; the values of `columns` go in order.
LogResult insertRecord(QSqlDatabase &db, const QString &table, const LogColumn *columns,
                       const QVariant *values, int count)
{
    const QSet<QString> present = tableColumns(db, table);
    if (present.isEmpty())
        return LogResult::failure(QStringLiteral("no table %1").arg(quoted(table)));
    QStringList names;
    QList<QVariant> bound;
    for (int i = 0; i < count; ++i) {
        const QString name = QLatin1String(columns[i].column);
        if (!present.contains(name.toLower()))
            continue;
        names << quoted(name);
        bound << values[i];
    }
    QSqlQuery insert(db);
    const QString sql =
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(quoted(table), names.join(QStringLiteral(", ")),
                 QStringList(names.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
    bool ok = insert.prepare(sql);
    for (const QVariant &v : std::as_const(bound))
        insert.addBindValue(v);
    ok = ok && insert.exec();
    const QString why = insert.lastError().text();
    insert.finish();
    if (!ok)
        return LogResult::failure(QStringLiteral("%1: %2").arg(table, why));
    return LogResult::success();
}

} // namespace

LogWriter::LogWriter(Clock &clock, const ReadingsRecord &record, StatusBoard &status,
                     const QString &directory)
    : m_clock(clock), m_record(record), m_status(status), m_directory(directory)
{
}

LogResult LogWriter::ensureMonthDatabase(const QDate &date)
{
    const LogResult r = ::ensureMonthDatabase(m_directory, date);
    if (r.ok()) {
        m_reportedCreateError.clear();
    } else if (r.error != m_reportedCreateError) {
        m_reportedCreateError = r.error;
        m_status.setTitle(
            QStringLiteral("Corvane : %1 Not Created - %2").arg(monthDatabaseName(date), r.error));
    }
    return r;
}

LogResult LogWriter::writePair(const QString &path, const PairValues &values)
{
    SqliteFile file;
    LogResult r = file.open(path, SqliteFile::Mode::ReadWrite, m_busyTimeoutMs);
    if (!r.ok())
        return r;
    // FULL: the commit is on the disk before it returns, so a power cut loses at most
    // the pair being written.
    r = file.exec(QStringLiteral("PRAGMA synchronous = FULL"));
    if (!r.ok())
        return r;
    r = file.exec(QStringLiteral("BEGIN IMMEDIATE"));
    if (!r.ok())
        return r;
    r = insertRecord(file.database(), outdoorTableName(), outdoorColumns().data(), values.data(),
                     kOutdoorColumnCount);
    if (r.ok())
        r = insertRecord(file.database(), indoorTableName(), indoorColumns().data(),
                         values.data() + kOutdoorColumnCount, kIndoorColumnCount);
    if (r.ok())
        r = file.exec(QStringLiteral("COMMIT"));
    if (!r.ok())
        file.exec(QStringLiteral("ROLLBACK"));
    return r;
}

LogWriter::PairValues LogWriter::startPass(const QDate &month)
{
    m_status.setTitle(QStringLiteral("Corvane : Database Logging Started"));
    ensureMonthDatabase(month);
    m_outdoorAt = m_clock.now();
    return FillLogFields(m_record, m_outdoorAt);
}

LogResult LogWriter::completePass(const QDate &month, const PairValues &outdoor)
{
    const QDateTime indoorAt = m_clock.now();
    PairValues values = FillLogFields(m_record, indoorAt);
    std::copy_n(outdoor.begin(), kOutdoorColumnCount, values.begin());
    const LogResult r = writePair(MonthDatabase(m_directory, month), values);

    const QString when = generalDate(m_clock.now());
    if (r.ok()) {
        m_status.setTitle(QStringLiteral("Corvane : DataBase Logging Completed as of ") + when);
        if (m_pairWritten)
            m_pairWritten(m_outdoorAt, indoorAt, values);
        return r;
    }
    qWarning("corvane: log record pair lost in %s: %s", qPrintable(monthDatabaseName(month)),
             qPrintable(r.error));
    m_status.setTitle(QStringLiteral("Corvane : DataBase Logging Failed as of ") + when);
    return r;
}
