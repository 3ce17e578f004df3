// The chart's data source lists and reads month tables without holding the file: a logging
// pass into the same month succeeds while a chart has it open.
#include "acquisition/readingsrecord.h"
#include "charting/data/monthtable.h"
#include "core/statusboard.h"
#include "fakes/manualclock.h"
#include "logging/loggingpass.h"
#include "logging/logwriter.h"
#include "logging/monthdatabase.h"
#include "logging/sqlitefile.h"

#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

namespace {

// A file with the given statements run on it.
QString makeFile(const QTemporaryDir &dir, const QStringList &statements)
{
    const QString path = dir.filePath(QStringLiteral("JAN2026.MDB"));
    SqliteFile db;
    if (!db.open(path, SqliteFile::Mode::Create).ok())
        return {};
    for (const QString &s : statements) {
        if (!db.exec(s).ok())
            return {};
    }
    return path;
}

} // namespace

class TestMonthTable : public QObject
{
    Q_OBJECT
private slots:
    void tablesInNameOrderWithoutSystemTables()
    {
        QTemporaryDir dir;
        const QString path = makeFile(
            dir, {"CREATE TABLE \"Outdoor Data\" (a)", "CREATE TABLE \"Indoor Data\" (a)",
                  "CREATE TABLE MSysObjects (a)", "CREATE TABLE \"Forms\" (a)",
                  "CREATE TABLE t (id INTEGER PRIMARY KEY AUTOINCREMENT)", // sqlite_sequence
                  "CREATE VIEW v AS SELECT 1"});
        QStringList tables;
        QVERIFY(MonthTable::listTables(path, &tables).ok());
        QCOMPARE(tables, QStringList({"Forms", "Indoor Data", "Outdoor Data", "t"}));

        QVERIFY(!MonthTable::listTables(dir.filePath("none.mdb"), &tables).ok());
        QVERIFY(tables.isEmpty());
        QVERIFY(!QFile::exists(dir.filePath("none.mdb"))); // read-only: nothing created
    }

    void valuesWithMissingPoints()
    {
        QTemporaryDir dir;
        const QString path =
            makeFile(dir, {"CREATE TABLE d (\"Date_Time\" TEXT, \"Temperature\" REAL, Note TEXT)",
                           "INSERT INTO d VALUES ('1/1/2026', 20.5, ' 7 ')",
                           "INSERT INTO d VALUES ('1/2/2026', NULL, 'N/A')",
                           "INSERT INTO d VALUES (NULL, -3, 8)"});
        MonthTable t;
        QVERIFY(t.open(path, "d").ok());
        QCOMPARE(t.fieldNames(), QStringList({"Date_Time", "Temperature", "Note"}));
        QVERIFY(t.values("Temperature").empty()); // read when asked for
        QVERIFY(t.fetchAll().ok());
        QCOMPARE(t.recordCount(), 3);
        const std::vector<double> &temp = t.column(1);
        QCOMPARE(temp.size(), size_t(3));
        QCOMPARE(temp[0], 20.5);
        QVERIFY(std::isnan(temp[1])); // a gap, never 0
        QCOMPARE(temp[2], -3.0);
        const std::vector<double> &note = t.column(2);
        QCOMPARE(note[0], 7.0);
        QVERIFY(std::isnan(note[1]));
        QCOMPARE(note[2], 8.0);
        QVERIFY(std::isnan(t.column(0)[0]));
        QCOMPARE(t.text(0, 1), QStringLiteral("1/2/2026"));
        QCOMPARE(t.text(0, 2), QString());
        QCOMPARE(t.text(2, 2), QStringLiteral("8"));
        QVERIFY(t.column(7).empty());

        QVERIFY(!t.open(path, "missing").ok());
        QCOMPARE(t.recordCount(), 0);
        QVERIFY(t.fieldNames().isEmpty());
    }

    // A chart that held a read transaction would make the pass's write wait and fail.
    void loggingPassWhileChartHasTheMonth()
    {
        ManualClock clock(QDateTime(QDate(2026, 1, 15), QTime(12, 0)));
        QTemporaryDir dir;
        ReadingsRecord record;
        StatusBoard status;
        LogWriter writer(clock, record, status, dir.path());
        writer.setBusyTimeoutMs(1); // a held lock fails the write at once
        const QString path = MonthDatabase(dir.path(), clock.now().date());

        LoggingPass first(writer, clock);
        first.start();
        clock.advanceMs(LoggingPass::PairDelayMs);
        QVERIFY2(first.result().ok(), qPrintable(first.result().error));

        MonthTable chart;
        QVERIFY(chart.open(path, "Outdoor Data").ok());
        QVERIFY(chart.fetch({"Temperature"}).ok());
        QCOMPARE(chart.recordCount(), 1);

        LoggingPass second(writer, clock);
        second.start();
        QVERIFY(chart.fetch({"Humidity"}).ok()); // read between the pass's steps
        clock.advanceMs(LoggingPass::PairDelayMs);
        QVERIFY2(second.result().ok(), qPrintable(second.result().error));

        // Every field has the records of the first read; the new one comes with a new open.
        QVERIFY(chart.fetch({"Dewpoint"}).ok());
        QCOMPARE(chart.values("Dewpoint").size(), size_t(1));
        QVERIFY(chart.open(path, "Outdoor Data").ok());
        QVERIFY(chart.fetch({"Dewpoint"}).ok());
        QCOMPARE(chart.recordCount(), 2);
    }
};

QTEST_GUILESS_MAIN(TestMonthTable)
#include "tst_monthtable.moc"
