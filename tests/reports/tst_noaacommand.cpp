// `corvane noaa` on a month file in a program directory of the test's own, against
// reference texts checked by hand (tests/data/reports).
#include "core/datetimeformat.h"
#include "logging/monthdatabase.h"
#include "logging/sqlitefile.h"
#include "referencemonth.h"
#include "reports/noaareport.h"

#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

namespace {

bool writeMonth(const QString &dir, const QList<Observation> &records)
{
    const QDate month = records.first().time.date();
    if (!ensureMonthDatabase(dir, month).ok())
        return false;
    SqliteFile db;
    if (!db.open(MonthDatabase(dir, month), SqliteFile::Mode::ReadWrite).ok())
        return false;
    QSqlQuery q(db.database());
    q.prepare(QStringLiteral(
        "INSERT INTO \"Outdoor Data\" (\"Date_Time\", \"Temperature\", \"Average Wind Speed\", "
        "\"Average Wind Direction\", \"Gust Wind Speed\", \"Rainfall Total\") "
        "VALUES (?, ?, ?, ?, ?, ?)"));
    for (const Observation &o : records) {
        q.bindValue(0, generalDate(o.time));
        q.bindValue(1, o.temperature);
        q.bindValue(2, o.averageSpeed);
        q.bindValue(3, o.averageDirection);
        q.bindValue(4, o.gustSpeed);
        q.bindValue(5, o.rainTotal);
        if (!q.exec())
            return false;
    }
    return true;
}

} // namespace

class TestNoaaCommand : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void summaries_data();
    void summaries();
    void writesFilesToUpload();

private:
    QTemporaryDir m_home;
};

void TestNoaaCommand::initTestCase()
{
    qputenv("TZ", "UTC");
    QVERIFY(m_home.isValid());
    QVERIFY(writeMonth(m_home.path(), referenceMonth()));
}

void TestNoaaCommand::summaries_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("expected"); // reference file, or a text the error names
    QTest::newRow("month") << QStringList{"2025-02", "--interval", "360"} << 0
                           << "noaa-2025-02.txt";
    QTest::newRow("year") << QStringList{"2025", "--interval", "360"} << 0 << "noaa-2025.txt";
    QTest::newRow("month without a file") << QStringList{"2025-03"} << 1 << "MAR2025.MDB";
    QTest::newRow("year without a file") << QStringList{"2024"} << 1 << "2024";
    QTest::newRow("no month") << QStringList{"2025-13"} << 2 << "2025-13";
    QTest::newRow("bad interval") << QStringList{"2025-02", "--interval", "0"} << 2 << "minutes";
    QTest::newRow("unknown units") << QStringList{"2025-02", "--units", "si"} << 2 << "si";
}

void TestNoaaCommand::summaries()
{
    QFETCH(QStringList, args);
    QFETCH(QString, expected);
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("CORVANE_HOME"), m_home.path());
    env.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(CORVANE_BIN), QStringList{"noaa"} + args);
    QVERIFY(p.waitForFinished(30000));
    QTEST(p.exitCode(), "exitCode");
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    if (p.exitCode() != 0) {
        QVERIFY(out.isEmpty());
        QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains(expected));
        return;
    }
    QFile want(QStringLiteral(CORVANE_TEST_DATA "/reports/") + expected);
    QVERIFY(want.open(QIODevice::ReadOnly));
    QCOMPARE(out, QString::fromUtf8(want.readAll()));
}

// The files the daily run uploads hold what the command prints.
void TestNoaaCommand::writesFilesToUpload()
{
    NoaaOptions options;
    options.directory = m_home.path();
    options.intervalMinutes = 360;
    options.now = QDateTime::currentDateTime();
    QStringList problems;
    const QStringList files = writeNoaaFiles(QDate(2025, 2, 10), options, &problems);
    QCOMPARE(problems, QStringList());
    QCOMPARE(files, (QStringList{m_home.filePath("NOAA-2025-02.txt"), m_home.filePath("NOAA-2025.txt")}));
    for (const QString &name : {"noaa-2025-02.txt", "noaa-2025.txt"}) {
        QFile want(QStringLiteral(CORVANE_TEST_DATA "/reports/") + name);
        QFile got(files.at(name == QLatin1String("noaa-2025.txt")));
        QVERIFY(want.open(QIODevice::ReadOnly) && got.open(QIODevice::ReadOnly));
        QCOMPARE(got.readAll(), want.readAll());
    }
    // A month without a file is named, and its year still goes.
    problems.clear();
    QCOMPARE(writeNoaaFiles(QDate(2025, 3, 1), options, &problems).size(), 1);
    QCOMPARE(problems.size(), 1);
    QVERIFY(problems.at(0).startsWith("NOAA-2025-03.txt was not made: "));
}

QTEST_GUILESS_MAIN(TestNoaaCommand)
#include "tst_noaacommand.moc"
