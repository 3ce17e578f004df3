// A logging pass writes both records durably in one transaction at its end, with readings taken
// 3 s apart, reports a lost pair as failed, and holds no file open afterwards.
#include "acquisition/readingsrecord.h"
#include "core/datetimeformat.h"
#include "core/statusboard.h"
#include "fakes/manualclock.h"
#include "logging/loggingpass.h"
#include "logging/logwriter.h"
#include "logging/monthdatabase.h"
#include "logging/sqlitefile.h"
#include "logging/unprivileged.h"

#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString kStarted = QStringLiteral("Corvane : Database Logging Started");
const QString kCompleted = QStringLiteral("Corvane : DataBase Logging Completed as of ");
const QString kFailed = QStringLiteral("Corvane : DataBase Logging Failed as of ");

// Rows of one table, each as column -> value (null stays a null QVariant).
QList<QVariantMap> rows(const QString &path, const QString &table, const QStringList &columns)
{
    SqliteFile db;
    QList<QVariantMap> out;
    if (!db.open(path, SqliteFile::Mode::ReadOnly).ok())
        return out;
    QStringList quoted;
    for (const QString &c : columns)
        quoted << QStringLiteral("\"%1\", typeof(\"%1\")").arg(c);
    QSqlQuery q(db.database());
    if (!q.exec(
            QStringLiteral("SELECT %1 FROM \"%2\" ORDER BY rowid").arg(quoted.join(", "), table)))
        return out;
    while (q.next()) {
        QVariantMap row;
        for (int i = 0; i < columns.size(); ++i) {
            row.insert(columns[i], q.value(2 * i));
            row.insert(columns[i] + QStringLiteral("#type"), q.value(2 * i + 1));
        }
        out << row;
    }
    return out;
}

// Rows in `table`, or -1 when the file or the table cannot be read, so that a count of 0
// means an empty table.
int rowCount(const QString &path, const QString &table)
{
    SqliteFile db;
    if (!db.open(path, SqliteFile::Mode::ReadOnly).ok())
        return -1;
    QSqlQuery q(db.database());
    if (!q.exec(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table)) || !q.next())
        return -1;
    return q.value(0).toInt();
}

struct Pass
{
    explicit Pass(const QDateTime &start) : clock(start) {}
    ManualClock clock;
    ReadingsRecord record;
    StatusBoard status;
    QTemporaryDir dir;
    QStringList titles;
};

void captureTitles(Pass &p)
{
    QObject::connect(&p.status, &StatusBoard::titleChanged,
                     [&p](const QString &t) { p.titles << t; });
}

// One logging pass, run to its end on the manual clock.
LogResult runPass(LogWriter &writer, ManualClock &clock)
{
    LoggingPass pass(writer, clock);
    QSignalSpy finished(&pass, &Job::finished);
    pass.start();
    clock.advanceMs(LoggingPass::PairDelayMs);
    return finished.size() == 1 ? pass.result()
                                : LogResult::failure(QStringLiteral("the pass did not finish"));
}

} // namespace

class TstLogWriter : public QObject
{
    Q_OBJECT
private slots:
    void passWritesTwoRecordsThreeSecondsApart();
    void abandonedPassWritesNothing();
    void storedValues_data();
    void storedValues();
    void firstRecordOfNewMonthGoesToNewFile();
    void lockedFile_data();
    void lockedFile();
    void handMadeTemplate_data();
    void handMadeTemplate();
    void readOnlyDirectoryReportsFailure();
    void killedWriterLeavesSoundFile();
};

void TstLogWriter::passWritesTwoRecordsThreeSecondsApart()
{
    Pass p(QDateTime(QDate(2026, 3, 9), QTime(14, 0, 0)));
    captureTitles(p);
    p.record.setText(QStringLiteral("OutdoorTemperature"), QStringLiteral("50.0"));
    p.record.setText(QStringLiteral("IndoorTemperature"), QStringLiteral("70.0"));
    LogWriter writer(p.clock, p.record, p.status, p.dir.path());
    const QString file = MonthDatabase(p.dir.path(), p.clock.now().date());
    const auto column = [&file](const char *table, const char *name) {
        QStringList out;
        for (const QVariantMap &row : rows(file, table, {QString::fromLatin1(name)}))
            out << row.value(name).toString();
        return out;
    };
    LoggingPass pass(writer, p.clock);
    QSignalSpy finished(&pass, &Job::finished);
    pass.start();
    // The outdoor readings are taken at once, the indoor ones 3 s later; both records are
    // written only then.
    QCOMPARE(p.titles, QStringList{kStarted});
    QVERIFY(pass.isRunning());
    p.record.setText(QStringLiteral("OutdoorTemperature"), QStringLiteral("51.0"));
    p.record.setText(QStringLiteral("IndoorTemperature"), QStringLiteral("71.0"));
    p.clock.advanceMs(LoggingPass::PairDelayMs - 1);
    QCOMPARE(column("Outdoor Data", "Date_Time"), QStringList());
    p.clock.advanceMs(1);
    QCOMPARE(column("Outdoor Data", "Date_Time"), QStringList{"3/9/2026 2:00:00 PM"});
    QCOMPARE(column("Indoor Data", "Date_Time"), QStringList{"3/9/2026 2:00:03 PM"});
    QCOMPARE(column("Outdoor Data", "Temperature"), QStringList{"50"});
    QCOMPARE(column("Indoor Data", "Temperature"), QStringList{"71"});
    QCOMPARE(finished.size(), 1);
    QVERIFY2(pass.result().ok(), qPrintable(pass.result().error));
    QCOMPARE(p.titles, (QStringList{kStarted, kCompleted + QStringLiteral("3/9/2026 2:00:03 PM")}));
    // Nothing is held open between passes.
    QCOMPARE(QSqlDatabase::connectionNames(), QStringList());
}

void TstLogWriter::abandonedPassWritesNothing()
{
    Pass p(QDateTime(QDate(2026, 3, 9), QTime(14, 0, 0)));
    captureTitles(p);
    LogWriter writer(p.clock, p.record, p.status, p.dir.path());
    LoggingPass pass(writer, p.clock);
    QSignalSpy finished(&pass, &Job::finished);
    pass.start();
    pass.abandon();
    p.clock.advanceSeconds(60);
    const QString file = MonthDatabase(p.dir.path(), p.clock.now().date());
    QCOMPARE(rowCount(file, QStringLiteral("Outdoor Data")), 0);
    QCOMPARE(rowCount(file, QStringLiteral("Indoor Data")), 0);
    QCOMPARE(finished.size(), 0);
    QCOMPARE(p.titles, QStringList{kStarted});
    QVERIFY(!pass.result().ok());
}

void TstLogWriter::storedValues_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QVariant>("stored"); // invalid = NULL
    QTest::addColumn<QString>("type");

    const QString out = QStringLiteral("Outdoor Data");
    const QString in = QStringLiteral("Indoor Data");
    QTest::newRow("number") << "OutdoorTemperature"
                            << "072.0" << out << "Temperature" << QVariant(72.0) << "real";
    QTest::newRow("pressure") << "SeaLevelPressure"
                              << "29.92" << out << "SeaLevel Barometric Pressure" << QVariant(29.92)
                              << "real";
    QTest::newRow("direction") << "GustDirection"
                               << "225" << out << "Gust Wind Direction" << QVariant(225.0)
                               << "real";
    QTest::newRow("heat index N/A") << "HeatIndex"
                                    << "N/A" << out << "Heat Index" << QVariant() << "null";
    QTest::newRow("never received") << "RainTotal"
                                    << "" << out << "Rainfall Total" << QVariant() << "null";
    QTest::newRow("text as shown")
        << "PressureTrend"
        << "Rising" << out << "Barometric Trend" << QVariant("Rising") << "text";
    QTest::newRow("indoor lower-case t")
        << "IndoorTemperatureLowTime"
        << "6:07" << in << "Temperature Low time" << QVariant("6:07") << "text";
    QTest::newRow("indoor alarm") << "IndoorHumidityAlarmHigh"
                                  << "65" << in << "Humidity High Alarm" << QVariant(65.0)
                                  << "real";
}

void TstLogWriter::storedValues()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, table);
    QFETCH(QString, column);
    QFETCH(QVariant, stored);
    QFETCH(QString, type);

    Pass p(QDateTime(QDate(2026, 7, 4), QTime(9, 30)));
    if (!text.isEmpty())
        p.record.setText(field, text);
    LogWriter writer(p.clock, p.record, p.status, p.dir.path());
    QVERIFY(runPass(writer, p.clock).ok());
    const auto r = rows(MonthDatabase(p.dir.path(), p.clock.now().date()), table, {column});
    QCOMPARE(r.size(), 1);
    QCOMPARE(r[0].value(column + "#type").toString(), type);
    if (stored.isValid())
        QCOMPARE(r[0].value(column), stored);
}

void TstLogWriter::firstRecordOfNewMonthGoesToNewFile()
{
    Pass p(QDateTime(QDate(2026, 1, 31), QTime(23, 58, 0)));
    LogWriter writer(p.clock, p.record, p.status, p.dir.path());
    QVERIFY(runPass(writer, p.clock).ok());
    p.clock.advanceSeconds(120); // 00:00:03 on February 1st
    QVERIFY(runPass(writer, p.clock).ok());

    const QString jan = MonthDatabase(p.dir.path(), QDate(2026, 1, 1));
    const QString feb = MonthDatabase(p.dir.path(), QDate(2026, 2, 1));
    QCOMPARE(rowCount(jan, QStringLiteral("Outdoor Data")), 1);
    QCOMPARE(rowCount(feb, QStringLiteral("Outdoor Data")), 1);
    QCOMPARE(rows(feb, QStringLiteral("Indoor Data"), {"Date_Time"})
                 .value(0)
                 .value("Date_Time")
                 .toString(),
             QStringLiteral("2/1/2026 12:00:06 AM"));
}

void TstLogWriter::lockedFile_data()
{
    QTest::addColumn<int>("releaseMs"); // when the other program lets go, from the pass's start
    QTest::addColumn<int>("pairs");
    // The file is opened only at the end of the pass, so a lock during the wait costs nothing.
    QTest::newRow("during the wait") << 1000 << 1;
    // A lock held through the write loses the pass, both records; the next pass writes.
    QTest::newRow("through the write") << 3500 << 0;
}

void TstLogWriter::lockedFile()
{
    QFETCH(int, releaseMs);
    QFETCH(int, pairs);
    Pass p(QDateTime(QDate(2026, 5, 2), QTime(8, 0)));
    captureTitles(p);
    LogWriter writer(p.clock, p.record, p.status, p.dir.path());
    writer.setBusyTimeoutMs(30);
    QVERIFY(writer.ensureMonthDatabase(p.clock.now().date()).ok());
    const QString file = MonthDatabase(p.dir.path(), p.clock.now().date());

    // Another program holds the file exclusively.
    auto locker = std::make_unique<SqliteFile>();
    QVERIFY(locker->open(file, SqliteFile::Mode::ReadWrite).ok());
    QVERIFY(locker->exec(QStringLiteral("BEGIN EXCLUSIVE")).ok());
    auto release = p.clock.createTimer();
    release->setSingleShot(true);
    release->setInterval(releaseMs);
    QObject::connect(release.get(), &ClockTimer::timeout, [&] { locker.reset(); });
    release->start();

    QCOMPARE(runPass(writer, p.clock).ok(), pairs == 1);
    p.clock.advanceSeconds(1); // the lock is gone, so the file can be read
    QVERIFY(!locker);
    QCOMPARE(rowCount(file, QStringLiteral("Outdoor Data")), pairs);
    QCOMPARE(rowCount(file, QStringLiteral("Indoor Data")), pairs);
    QCOMPARE(p.titles.last(),
             (pairs ? kCompleted : kFailed) + QStringLiteral("5/2/2026 8:00:03 AM"));

    p.clock.advanceSeconds(56);
    QVERIFY(runPass(writer, p.clock).ok());
    QCOMPARE(rowCount(file, QStringLiteral("Outdoor Data")), pairs + 1);
    QCOMPARE(rowCount(file, QStringLiteral("Indoor Data")), pairs + 1);
    QCOMPARE(p.titles.last(), kCompleted + QStringLiteral("5/2/2026 8:01:03 AM"));
}

void TstLogWriter::handMadeTemplate_data()
{
    QTest::addColumn<QStringList>("schema");
    QTest::addColumn<int>("pairs");
    const QString outdoor =
        QStringLiteral("CREATE TABLE \"Outdoor Data\" (\"Date_Time\" TEXT, \"Temperature\" REAL)");
    const QString indoor =
        QStringLiteral("CREATE TABLE \"Indoor Data\" (\"Date_Time\" TEXT, \"Humidity\" REAL)");
    // Most columns missing, "Heat Index" among them: only their values are lost.
    QTest::newRow("missing columns") << QStringList{outdoor, indoor} << 1;
    // The indoor record cannot be written, and the outdoor one goes with it.
    QTest::newRow("missing indoor table") << QStringList{outdoor} << 0;
}

void TstLogWriter::handMadeTemplate()
{
    QFETCH(QStringList, schema);
    QFETCH(int, pairs);
    Pass p(QDateTime(QDate(2026, 8, 1), QTime(10, 0)));
    {
        SqliteFile db;
        QVERIFY(db.open(logTemplatePath(p.dir.path()), SqliteFile::Mode::Create).ok());
        for (const QString &sql : schema)
            QVERIFY(db.exec(sql).ok());
    }
    p.record.setText(QStringLiteral("OutdoorTemperature"), QStringLiteral("81.5"));
    p.record.setText(QStringLiteral("HeatIndex"), QStringLiteral("83"));
    p.record.setText(QStringLiteral("IndoorHumidity"), QStringLiteral("40"));
    captureTitles(p);
    LogWriter writer(p.clock, p.record, p.status, p.dir.path());
    const LogResult result = runPass(writer, p.clock);
    QCOMPARE(result.ok(), pairs == 1);
    const QString file = MonthDatabase(p.dir.path(), p.clock.now().date());
    QCOMPARE(rowCount(file, QStringLiteral("Outdoor Data")), pairs);
    QVERIFY(p.titles.last().startsWith(pairs ? kCompleted : kFailed));
    if (pairs) {
        const auto out =
            rows(file, QStringLiteral("Outdoor Data"), {QStringLiteral("Temperature")});
        QCOMPARE(out[0].value("Temperature").toDouble(), 81.5);
        const auto in = rows(file, QStringLiteral("Indoor Data"), {QStringLiteral("Humidity")});
        QCOMPARE(in.size(), 1);
        QCOMPARE(in[0].value("Humidity").toDouble(), 40.0);
    } else {
        QVERIFY2(result.error.contains(QStringLiteral("Indoor Data")), qPrintable(result.error));
    }
}

void TstLogWriter::readOnlyDirectoryReportsFailure()
{
    Pass p(QDateTime(QDate(2026, 9, 1), QTime(0, 10)));
    const QString path = p.dir.path();
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                            QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup));
    const int result = runUnprivileged([&] {
        captureTitles(p);
        LogWriter writer(p.clock, p.record, p.status, path);
        if (runPass(writer, p.clock).ok())
            return 1;
        if (!p.titles.contains(kStarted) ||
            p.titles.last() != kFailed + QStringLiteral("9/1/2026 12:10:03 AM"))
            return 2;
        writer.ensureMonthDatabase(p.clock.now().date());
        if (runPass(writer, p.clock).ok())
            return 1;
        // The reason the month file is missing is shown once while it lasts.
        return p.titles.filter(QStringLiteral("SEP2026.MDB Not Created")).size() == 1 ? 0 : 3;
    });
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(result, 0);
}

void TstLogWriter::killedWriterLeavesSoundFile()
{
    // A child writes record pairs as fast as it can and reports each commit; it is killed
    // in the middle of its work. Every reported pair must survive, the file intact.
    Pass p(QDateTime(QDate(2026, 10, 3), QTime(12, 0)));
    LogWriter writer(p.clock, p.record, p.status, p.dir.path());
    QVERIFY(writer.ensureMonthDatabase(p.clock.now().date()).ok());
    const QString file = MonthDatabase(p.dir.path(), p.clock.now().date());
    p.record.setText(QStringLiteral("OutdoorTemperature"), QStringLiteral("55.5"));

    int pipeFds[2];
    QCOMPARE(::pipe(pipeFds), 0);
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        ::close(pipeFds[0]);
        for (quint32 n = 1;; ++n) {
            if (!writer.writePair(file, FillLogFields(p.record, p.clock.now())).ok())
                ::_exit(1);
            if (::write(pipeFds[1], &n, sizeof n) != sizeof n)
                ::_exit(2);
        }
    }
    ::close(pipeFds[1]);
    quint32 reported = 0;
    quint32 n = 0;
    while (reported < 40 && ::read(pipeFds[0], &n, sizeof n) == sizeof n)
        reported = n;
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(pipeFds[0]);
    QVERIFY(WIFSIGNALED(status));
    QVERIFY(reported >= 40);

    SqliteFile db;
    QVERIFY(db.open(file, SqliteFile::Mode::ReadWrite).ok()); // rolls a hot journal back
    QSqlQuery q(db.database());
    QVERIFY(q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("ok"));
    QVERIFY(q.exec(QStringLiteral("SELECT count(*), min(\"Temperature\"), max(\"Temperature\") "
                                  "FROM \"Outdoor Data\"")) &&
            q.next());
    QVERIFY(q.value(0).toUInt() >= reported);
    QCOMPARE(q.value(1).toDouble(), 55.5);
    QCOMPARE(q.value(2).toDouble(), 55.5);
    const uint outdoor = q.value(0).toUInt();
    QVERIFY(q.exec(QStringLiteral("SELECT count(*) FROM \"Indoor Data\"")) && q.next());
    QCOMPARE(q.value(0).toUInt(), outdoor);
}

QTEST_GUILESS_MAIN(TstLogWriter)
#include "tst_logwriter.moc"
