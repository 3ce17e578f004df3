// The logging pass: each record is one durable transaction on a file opened only for it.
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

LogResult LogWriter::writeRecord(const QString &path, const QString &table,
                                 const LogColumn *columns, const QVariant *values, int count)
{
    SqliteFile file;
    LogResult r = file.open(path, SqliteFile::Mode::ReadWrite, m_busyTimeoutMs);
    if (!r.ok())
        return r;
    // FULL: the commit is on the disk before it returns, so a power cut loses at most
    // the record being written.
    r = file.exec(QStringLiteral("PRAGMA synchronous = FULL"));
    if (!r.ok())
        return r;

    QSqlDatabase &db = file.database();
    const QSet<QString> present = tableColumns(db, table);
    if (present.isEmpty())
        return LogResult::failure(QStringLiteral("no table %1").arg(quoted(table)));

    // A column missing from the template loses only its own value.
    QStringList names;
    QList<QVariant> bound;
    for (int i = 0; i < count; ++i) {
        const QString name = QLatin1String(columns[i].column);
        if (!present.contains(name.toLower()))
            continue;
        names << quoted(name);
        bound << values[i];
    }

    r = file.exec(QStringLiteral("BEGIN IMMEDIATE"));
    if (!r.ok())
        return r;
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
    if (!ok) {
        file.exec(QStringLiteral("ROLLBACK"));
        return LogResult::failure(why);
    }
    r = file.exec(QStringLiteral("COMMIT"));
    if (!r.ok()) {
        file.exec(QStringLiteral("ROLLBACK"));
        return r;
    }
    return LogResult::success();
}

LogResult LogWriter::startPass(const QDate &month)
{
    m_status.setTitle(QStringLiteral("Corvane : Database Logging Started"));
    ensureMonthDatabase(month);
    const auto values = FillLogFields(m_record, m_clock.now());
    return writeRecord(MonthDatabase(m_directory, month), outdoorTableName(),
                       outdoorColumns().data(), values.data(), kOutdoorColumnCount);
}

LogResult LogWriter::completePass(const QDate &month, const LogResult &outdoor)
{
    const auto values = FillLogFields(m_record, m_clock.now());
    const LogResult indoor =
        writeRecord(MonthDatabase(m_directory, month), indoorTableName(), indoorColumns().data(),
                    values.data() + kOutdoorColumnCount, kIndoorColumnCount);

    QStringList errors;
    if (!outdoor.ok())
        errors << QStringLiteral("%1: %2").arg(outdoorTableName(), outdoor.error);
    if (!indoor.ok())
        errors << QStringLiteral("%1: %2").arg(indoorTableName(), indoor.error);
    const QString when = generalDate(m_clock.now());
    if (errors.isEmpty()) {
        m_status.setTitle(QStringLiteral("Corvane : DataBase Logging Completed as of ") + when);
        return LogResult::success();
    }
    qWarning("corvane: log record lost in %s: %s", qPrintable(monthDatabaseName(month)),
             qPrintable(errors.join(QStringLiteral("; "))));
    m_status.setTitle(QStringLiteral("Corvane : DataBase Logging Failed as of ") + when);
    return LogResult::failure(errors.join(QStringLiteral("; ")));
}
