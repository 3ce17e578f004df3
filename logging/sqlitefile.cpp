// Opening SQLite files through Qt SQL with URI modes, so a missing file is an error.
#include "logging/sqlitefile.h"

#include <QAtomicInteger>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

namespace {

QString nextConnectionName()
{
    // Qt SQL keys connections by name per process; each open gets its own.
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("corvane.sqlitefile.%1").arg(++counter);
}

QString sqliteUri(const QString &path, SqliteFile::Mode mode)
{
    const char *m = mode == SqliteFile::Mode::ReadOnly    ? "ro"
                    : mode == SqliteFile::Mode::ReadWrite ? "rw"
                                                          : "rwc";
    // fromLocalFile escapes blanks, '?', '#' and '%' in the path.
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=") +
           QLatin1String(m);
}

} // namespace

SqliteFile::SqliteFile() = default;

SqliteFile::~SqliteFile()
{
    close();
}

LogResult SqliteFile::open(const QString &path, Mode mode, int busyTimeoutMs)
{
    close();
    m_name = nextConnectionName();
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    if (!m_db.isValid())
        return LogResult::failure(QStringLiteral("the SQLite driver is not available"));
    QString options = QStringLiteral("QSQLITE_OPEN_URI");
    if (busyTimeoutMs > 0)
        options += QStringLiteral(";QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs);
    m_db.setConnectOptions(options);
    m_db.setDatabaseName(sqliteUri(path, mode));
    if (!m_db.open())
        return LogResult::failure(m_db.lastError().text());
    // SQLite reads the file header lazily; a file that is no database fails only here.
    return exec(QStringLiteral("SELECT count(*) FROM sqlite_master"));
}

void SqliteFile::close()
{
    if (m_name.isEmpty())
        return;
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
    m_name.clear();
}

LogResult SqliteFile::exec(const QString &sql)
{
    QSqlQuery q(m_db);
    if (!q.exec(sql))
        return LogResult::failure(q.lastError().text());
    return LogResult::success();
}
