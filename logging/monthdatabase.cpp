// Creating the template and the month files so that a half-written file never carries the final
// name.
#include "logging/monthdatabase.h"

#include "core/datetimeformat.h"
#include "logging/logschema.h"
#include "logging/sqlitefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Flushes a file or a directory entry to the disk, so that a power cut after the rename
// finds either no month file or a complete one.
bool syncPath(const QString &path, bool directory)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), directory ? O_RDONLY | O_DIRECTORY : O_RDONLY);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// Reserves an empty file beside `finalPath` for SQLite to fill.
LogResult reserveTemporary(const QString &finalPath, QString *name)
{
    const QFileInfo fi(finalPath);
    QTemporaryFile tmp(fi.dir().filePath(QStringLiteral(".%1.XXXXXX").arg(fi.fileName())));
    tmp.setAutoRemove(false);
    if (!tmp.open())
        return LogResult::failure(
            QStringLiteral("cannot create a file in %1: %2")
                .arg(QDir::toNativeSeparators(fi.absolutePath()), tmp.errorString()));
    *name = tmp.fileName();
    // Owner only, whatever the umask; SQLite gives the journal it makes beside a database
    // the database's own mode.
    ::fchmod(tmp.handle(), 0600);
    return LogResult::success();
}

// Gives the finished file its name; never replaces a file that appeared meanwhile.
LogResult publish(const QString &tmpName, const QString &finalPath)
{
    if (!syncPath(tmpName, false)) {
        QFile::remove(tmpName);
        return LogResult::failure(QStringLiteral("cannot flush %1").arg(tmpName));
    }
    if (!QFile::rename(tmpName, finalPath)) {
        QFile::remove(tmpName);
        if (QFileInfo::exists(finalPath))
            return LogResult::success();
        return LogResult::failure(QStringLiteral("cannot rename %1 to %2").arg(tmpName, finalPath));
    }
    syncPath(QFileInfo(finalPath).absolutePath(), true);
    return LogResult::success();
}

LogResult buildTemplate(const QString &path)
{
    SqliteFile db;
    LogResult r = db.open(path, SqliteFile::Mode::ReadWrite);
    if (!r.ok())
        return r;
    for (const QString &statement : logTemplateSchema()) {
        r = db.exec(statement);
        if (!r.ok())
            return r;
    }
    return LogResult::success();
}

bool hasLogTable(QSqlDatabase &db)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral(
        "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN (?, ?)"));
    q.addBindValue(outdoorTableName());
    q.addBindValue(indoorTableName());
    return q.exec() && q.next() && q.value(0).toInt() > 0;
}

LogResult copyTemplate(const QString &templatePath, const QString &target)
{
    SqliteFile source;
    LogResult r = source.open(templatePath, SqliteFile::Mode::ReadOnly);
    if (!r.ok())
        return LogResult::failure(QStringLiteral("Wx_Temp.mdb cannot be read: %1").arg(r.error));
    if (!hasLogTable(source.database()))
        return LogResult::failure(QStringLiteral("Wx_Temp.mdb holds no log table"));

    QString tmpName;
    r = reserveTemporary(target, &tmpName);
    if (!r.ok())
        return r;
    QSqlQuery q(source.database());
    q.prepare(QStringLiteral("VACUUM INTO ?"));
    q.addBindValue(tmpName);
    const bool copied = q.exec();
    const QString why = q.lastError().text();
    q.finish();
    source.close();
    if (!copied) {
        QFile::remove(tmpName);
        return LogResult::failure(QStringLiteral("Wx_Temp.mdb cannot be copied: %1").arg(why));
    }
    return publish(tmpName, target);
}

} // namespace

QString monthDatabaseName(const QDate &date)
{
    return englishMonthName(date.month(), true).toUpper() +
           QStringLiteral("%1.MDB").arg(date.year(), 4, 10, QLatin1Char('0'));
}

QString MonthDatabase(const QString &directory, const QDate &date)
{
    return QDir(directory).filePath(monthDatabaseName(date));
}

QString logTemplatePath(const QString &directory)
{
    return QDir(directory).filePath(QStringLiteral("Wx_Temp.mdb"));
}

LogResult createLogTemplate(const QString &path)
{
    if (QFileInfo::exists(path))
        return LogResult::failure(QStringLiteral("Wx_Temp.mdb exists already"));
    QString tmpName;
    LogResult r = reserveTemporary(path, &tmpName);
    if (!r.ok())
        return r;
    r = buildTemplate(tmpName);
    QFile::remove(tmpName + QStringLiteral("-journal"));
    if (!r.ok()) {
        QFile::remove(tmpName);
        return LogResult::failure(QStringLiteral("Wx_Temp.mdb cannot be built: %1").arg(r.error));
    }
    return publish(tmpName, path);
}

LogResult ensureMonthDatabase(const QString &directory, const QDate &date, MonthFile *what)
{
    if (what)
        *what = MonthFile::Existed;
    const QString target = MonthDatabase(directory, date);
    if (QFileInfo::exists(target))
        return LogResult::success();

    const QString templatePath = logTemplatePath(directory);
    if (!QFileInfo::exists(templatePath)) {
        // A new installation has no template; without one nothing would ever be logged.
        const LogResult built = createLogTemplate(templatePath);
        if (!built.ok())
            return built;
    }
    const LogResult copied = copyTemplate(templatePath, target);
    if (copied.ok() && what)
        *what = MonthFile::Created;
    return copied;
}
