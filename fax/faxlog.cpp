// The fax log over Qt SQL.
#include "fax/faxlog.h"

#include "logging/sqlitefile.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

const char *const Schema = "CREATE TABLE IF NOT EXISTS \"Faxes\" ("
                           "\"Id\" INTEGER PRIMARY KEY AUTOINCREMENT, \"Log\" INTEGER NOT NULL, "
                           "\"Number\" TEXT, \"Device\" TEXT, \"File\" TEXT, \"Queued\" TEXT, "
                           "\"Finished\" TEXT, \"ExitStatus\" INTEGER, \"Message\" TEXT)";

FaxResult openLog(SqliteFile &db, const QString &path)
{
    const LogResult opened = db.open(path, SqliteFile::Mode::Create, 2000);
    if (!opened.ok())
        return FaxResult::failure(opened.error);
    const LogResult made = db.exec(QString::fromLatin1(Schema));
    return made.ok() ? FaxResult::success() : FaxResult::failure(made.error);
}

FaxResult run(QSqlQuery &q)
{
    return q.exec() ? FaxResult::success() : FaxResult::failure(q.lastError().text());
}

QString timeText(const QDateTime &t)
{
    return t.isValid() ? t.toString(Qt::ISODateWithMs) : QString();
}

} // namespace

FaxResult FaxLog::add(FaxLogEntry &entry)
{
    SqliteFile db;
    FaxResult r = openLog(db, m_path);
    if (!r.ok())
        return r;
    QSqlQuery q(db.database());
    q.prepare(
        QStringLiteral("INSERT INTO \"Faxes\" (\"Log\", \"Number\", \"Device\", \"File\", "
                       "\"Queued\", \"ExitStatus\", \"Message\") VALUES (?, ?, ?, ?, ?, ?, ?)"));
    for (const QVariant &v :
         {QVariant(int(FaxLogName::Pending)), QVariant(entry.number), QVariant(entry.device),
          QVariant(entry.file), QVariant(timeText(entry.queued)), QVariant(entry.exitStatus),
          QVariant(entry.message)})
        q.addBindValue(v);
    r = run(q);
    if (r.ok())
        entry.id = q.lastInsertId().toLongLong();
    return r;
}

FaxResult FaxLog::move(qint64 id, FaxLogName log, const FaxLogEntry &outcome)
{
    SqliteFile db;
    FaxResult r = openLog(db, m_path);
    if (!r.ok())
        return r;
    QSqlQuery q(db.database());
    q.prepare(QStringLiteral("UPDATE \"Faxes\" SET \"Log\" = ?, \"Device\" = ?, \"Finished\" = ?, "
                             "\"ExitStatus\" = ?, \"Message\" = ? WHERE \"Id\" = ?"));
    q.addBindValue(int(log));
    q.addBindValue(outcome.device);
    q.addBindValue(timeText(outcome.finished));
    q.addBindValue(outcome.exitStatus);
    q.addBindValue(outcome.message);
    q.addBindValue(id);
    return run(q);
}

QList<FaxLogEntry> FaxLog::entries(FaxLogName log) const
{
    QList<FaxLogEntry> out;
    SqliteFile db;
    if (!openLog(db, m_path).ok())
        return out;
    QSqlQuery q(db.database());
    q.prepare(QStringLiteral("SELECT \"Id\", \"Number\", \"Device\", \"File\", \"Queued\", "
                             "\"Finished\", \"ExitStatus\", \"Message\" FROM \"Faxes\" "
                             "WHERE \"Log\" = ? ORDER BY \"Id\""));
    q.addBindValue(int(log));
    if (!q.exec())
        return out;
    while (q.next()) {
        FaxLogEntry e;
        e.id = q.value(0).toLongLong();
        e.number = q.value(1).toString();
        e.device = q.value(2).toString();
        e.file = q.value(3).toString();
        e.queued = QDateTime::fromString(q.value(4).toString(), Qt::ISODateWithMs);
        e.finished = QDateTime::fromString(q.value(5).toString(), Qt::ISODateWithMs);
        e.exitStatus = q.value(6).isNull() ? -1 : q.value(6).toInt();
        e.message = q.value(7).toString();
        out << e;
    }
    return out;
}

FaxResult FaxLog::deleteEntry(FaxLogName log, int index)
{
    const QList<FaxLogEntry> all = entries(log);
    if (index < 0 || index >= all.size())
        return FaxResult::failure(QStringLiteral("there is no entry %1 in that log").arg(index));
    SqliteFile db;
    FaxResult r = openLog(db, m_path);
    if (!r.ok())
        return r;
    QSqlQuery q(db.database());
    q.prepare(QStringLiteral("DELETE FROM \"Faxes\" WHERE \"Id\" = ? AND \"Log\" = ?"));
    q.addBindValue(all[index].id);
    q.addBindValue(int(log));
    return run(q);
}

FaxResult FaxLog::deleteLog(FaxLogName log)
{
    SqliteFile db;
    FaxResult r = openLog(db, m_path);
    if (!r.ok())
        return r;
    QSqlQuery q(db.database());
    q.prepare(QStringLiteral("DELETE FROM \"Faxes\" WHERE \"Log\" = ?"));
    q.addBindValue(int(log));
    return run(q);
}
