// Month files must come from the template, which is built when missing and never written or
// replaced.
#include "logging/logschema.h"
#include "logging/monthdatabase.h"
#include "logging/sqlitefile.h"
#include "logging/unprivileged.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

QByteArray fileHash(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

QStringList columnsOf(const QString &path, const QString &table)
{
    SqliteFile db;
    if (!db.open(path, SqliteFile::Mode::ReadOnly).ok())
        return {};
    QSqlQuery q(db.database());
    QStringList names;
    q.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table));
    while (q.next())
        names << q.value(1).toString();
    return names;
}

QStringList expectedColumns(int first, int count)
{
    QStringList names;
    for (int i = first; i < first + count; ++i)
        names << QString::fromLatin1(logColumn(i).column);
    return names;
}

// Files other than the template and month files: leftovers of a failed or interrupted copy.
QStringList strayFiles(const QString &dir)
{
    QStringList stray = QDir(dir).entryList(QDir::Files | QDir::Hidden);
    stray.removeAll(QStringLiteral("Wx_Temp.mdb"));
    stray.removeIf([](const QString &n) { return n.endsWith(QLatin1String(".MDB")); });
    return stray;
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class TstMonthDatabase : public QObject
{
    Q_OBJECT
private slots:
    void name_data();
    void name();
    void newInstallationBuildsTemplateThenCopies();
    void templateIsNeverWritten();
    void existingMonthFileIsKept();
    void unusableTemplateIsKeptAndRetried_data();
    void unusableTemplateIsKeptAndRetried();
    void readOnlyDirectoryFails();
    void filesAreOwnerOnlyUnderAnyUmask();
};

void TstMonthDatabase::name_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("name");
    QTest::newRow("January 1999") << QDate(1999, 1, 31) << "JAN1999.MDB";
    QTest::newRow("May") << QDate(2026, 5, 1) << "MAY2026.MDB";
    QTest::newRow("September") << QDate(2026, 9, 15) << "SEP2026.MDB";
    QTest::newRow("December") << QDate(2030, 12, 31) << "DEC2030.MDB";
}

void TstMonthDatabase::name()
{
    QFETCH(QDate, date);
    QFETCH(QString, name);
    QCOMPARE(monthDatabaseName(date), name);
    QCOMPARE(QFileInfo(MonthDatabase(QStringLiteral("/srv/wx"), date)).fileName(), name);
}

void TstMonthDatabase::newInstallationBuildsTemplateThenCopies()
{
    QTemporaryDir dir;
    MonthFile what = MonthFile::Existed;
    const LogResult r = ensureMonthDatabase(dir.path(), QDate(2026, 1, 15), &what);
    QVERIFY2(r.ok(), qPrintable(r.error));
    QCOMPARE(what, MonthFile::Created);
    for (const QString &file :
         {logTemplatePath(dir.path()), MonthDatabase(dir.path(), QDate(2026, 1, 1))}) {
        QCOMPARE(columnsOf(file, outdoorTableName()), expectedColumns(0, kOutdoorColumnCount));
        QCOMPARE(columnsOf(file, indoorTableName()),
                 expectedColumns(kOutdoorColumnCount, kIndoorColumnCount));
    }
    QCOMPARE(strayFiles(dir.path()), QStringList());
}

void TstMonthDatabase::templateIsNeverWritten()
{
    QTemporaryDir dir;
    QVERIFY(createLogTemplate(logTemplatePath(dir.path())).ok());
    const QByteArray before = fileHash(logTemplatePath(dir.path()));
    const QDateTime mtime = QFileInfo(logTemplatePath(dir.path())).lastModified();
    for (int month = 1; month <= 3; ++month)
        QVERIFY(ensureMonthDatabase(dir.path(), QDate(2026, month, 1)).ok());
    QCOMPARE(fileHash(logTemplatePath(dir.path())), before);
    QCOMPARE(QFileInfo(logTemplatePath(dir.path())).lastModified(), mtime);
    // A second build must not replace the template either.
    QVERIFY(!createLogTemplate(logTemplatePath(dir.path())).ok());
    QCOMPARE(fileHash(logTemplatePath(dir.path())), before);
}

void TstMonthDatabase::existingMonthFileIsKept()
{
    QTemporaryDir dir;
    const QString month = MonthDatabase(dir.path(), QDate(2026, 2, 1));
    QVERIFY(ensureMonthDatabase(dir.path(), QDate(2026, 2, 1)).ok());
    {
        SqliteFile db;
        QVERIFY(db.open(month, SqliteFile::Mode::ReadWrite).ok());
        QVERIFY(
            db.exec(QStringLiteral("INSERT INTO \"Indoor Data\" (\"Humidity\") VALUES (40)")).ok());
    }
    const QByteArray before = fileHash(month);
    MonthFile what = MonthFile::Created;
    QVERIFY(ensureMonthDatabase(dir.path(), QDate(2026, 2, 28), &what).ok());
    QCOMPARE(what, MonthFile::Existed);
    QCOMPARE(fileHash(month), before);
}

void TstMonthDatabase::unusableTemplateIsKeptAndRetried_data()
{
    QTest::addColumn<QByteArray>("templateBytes");
    QTest::newRow("not a database")
        << QByteArray("this is no database file, just text\n").repeated(200);
    QTest::newRow("truncated header")
        << QByteArray("SQLite format 3\0", 16) + QByteArray(50, '\x01');
    QTest::newRow("empty file, no tables") << QByteArray();
}

void TstMonthDatabase::unusableTemplateIsKeptAndRetried()
{
    QFETCH(QByteArray, templateBytes);
    QTemporaryDir dir;
    const QString tmpl = logTemplatePath(dir.path());
    QVERIFY(writeBytes(tmpl, templateBytes));
    const QDate date(2026, 4, 10);

    const LogResult r = ensureMonthDatabase(dir.path(), date);
    QVERIFY(!r.ok());
    QVERIFY(r.error.contains(QLatin1String("Wx_Temp.mdb")));
    QVERIFY(!QFileInfo::exists(MonthDatabase(dir.path(), date)));
    QFile f(tmpl);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), templateBytes);
    f.close();
    QCOMPARE(strayFiles(dir.path()), QStringList());

    // Once the user puts a good template back, the next tick creates the month file.
    QVERIFY(QFile::remove(tmpl));
    QVERIFY(createLogTemplate(tmpl).ok());
    QVERIFY(ensureMonthDatabase(dir.path(), date).ok());
    QVERIFY(QFileInfo::exists(MonthDatabase(dir.path(), date)));
}

void TstMonthDatabase::readOnlyDirectoryFails()
{
    QTemporaryDir dir;
    QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner |
                                                  QFile::ReadOther | QFile::ExeOther |
                                                  QFile::ReadGroup | QFile::ExeGroup));
    const QString path = dir.path();
    const int result = runUnprivileged([&] {
        const LogResult r = ensureMonthDatabase(path, QDate(2026, 6, 1));
        if (r.ok())
            return 1;
        return QDir(path).entryList(QDir::Files | QDir::Hidden).isEmpty() ? 0 : 2;
    });
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(result, 0);
}

void TstMonthDatabase::filesAreOwnerOnlyUnderAnyUmask()
{
    QTemporaryDir dir;
    const mode_t old = ::umask(0);
    const auto restore = qScopeGuard([old] { ::umask(old); });
    const auto mode = [](const QString &path) {
        struct stat st = {};
        return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0u;
    };
    QVERIFY(ensureMonthDatabase(dir.path(), QDate(2026, 3, 1)).ok());
    const QString month = MonthDatabase(dir.path(), QDate(2026, 3, 1));
    QCOMPARE(mode(logTemplatePath(dir.path())), 0600u);
    QCOMPARE(mode(month), 0600u);
    // The journal of a record being written.
    SqliteFile db;
    QVERIFY(db.open(month, SqliteFile::Mode::ReadWrite).ok());
    QVERIFY(db.exec(QStringLiteral("BEGIN")).ok());
    QVERIFY(db.exec(QStringLiteral("INSERT INTO \"Indoor Data\" (\"Humidity\") VALUES (40)")).ok());
    QCOMPARE(mode(month + QStringLiteral("-journal")), 0600u);
    QVERIFY(db.exec(QStringLiteral("ROLLBACK")).ok());
}

QTEST_GUILESS_MAIN(TstMonthDatabase)
#include "tst_monthdatabase.moc"
