// The archive: its settings, the queue file across crashes, and logging passes reaching a real
// PostgreSQL server that goes away in the middle and comes back.
#include "acquisition/readingsrecord.h"
#include "archive/archive.h"
#include "archive/archivequeue.h"
#include "archive/archivereader.h"
#include "archive/archivesettings.h"
#include "archive/localpostgres.h"
#include "core/statusboard.h"
#include "fakes/manualclock.h"
#include "logging/loggingpass.h"
#include "logging/logwriter.h"
#include "logging/monthdatabase.h"

#include <QSettings>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

ArchivePair pairAt(const QDateTime &at, const QString &temperature)
{
    ArchivePair pair;
    pair.station = QStringLiteral("Hilltop");
    pair.outdoorAt = at;
    pair.indoorAt = at.addSecs(3);
    pair.values[12] = temperature; // "Temperature"
    return pair;
}

} // namespace

class TstArchive : public QObject
{
    Q_OBJECT
private slots:
    void settings_data();
    void settings();
    void queueSurvivesCrashes();
    void passesReachServerThatGoesAway();
};

void TstArchive::settings_data()
{
    QTest::addColumn<QString>("ini");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("sslmode");
    QTest::addColumn<int>("problems");
    QTest::newRow("absent: off") << "" << false << 5432 << "prefer" << 0;
    QTest::newRow("on") << "[archive]\nenabled=true\nport=6543\nsslmode=Require\n" << true << 6543
                        << "require" << 0;
    QTest::newRow("comments, quoted password")
        << "[archive]\nenabled=true ; on\nport=5433 ; the pooler\npassword=\"se;cr,et\"\n"
        << true << 5433 << "prefer" << 0;
    QTest::newRow("wrong forms keep defaults")
        << "[archive]\nenabled=maybe\nport=70000\nsslmode=always\n" << false << 5432 << "prefer"
        << 3;
}

void TstArchive::settings()
{
    QFETCH(QString, ini);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("corvane.conf"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(ini.toUtf8());
    f.close();
    QSettings file(path, QSettings::IniFormat);
    QStringList problems;
    const ArchiveSettings read = readArchiveSettings(file, &problems);
    QTEST(read.enabled, "enabled");
    QTEST(read.port, "port");
    QTEST(read.sslmode, "sslmode");
    QTEST(int(problems.size()), "problems");
    if (read.enabled && read.port == 5433)
        QCOMPARE(read.password, QStringLiteral("se;cr,et"));

    // What is written reads back the same, a password with a comma and a semicolon included.
    ArchiveSettings changed = read;
    changed.password = QStringLiteral("a,b;c \"d\"");
    changed.station = QStringLiteral("Hill top");
    writeArchiveSettings(file, changed);
    file.sync();
    QSettings again(path, QSettings::IniFormat);
    QCOMPARE(readArchiveSettings(again), changed);
}

void TstArchive::queueSurvivesCrashes()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("queue.jsonl"));
    const QDateTime t0(QDate(2026, 3, 9), QTime(14, 0), Qt::UTC);
    {
        ArchiveQueue queue(path);
        QCOMPARE(queue.open(), QString());
        for (int i = 0; i < 5; ++i)
            QCOMPARE(queue.append(pairAt(t0.addSecs(60 * i), QString::number(50 + i))), QString());
        ArchiveQueue::Batch first = queue.next(2);
        QCOMPARE(int(first.pairs.size()), 2);
        QCOMPARE(queue.commit(first), QString());
    }
    // A crash in the middle of an append leaves a line cut short.
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::Append));
        f.write("{\"s\":\"Hilltop\",\"o\":17");
    }
    ArchiveQueue queue(path);
    QCOMPARE(queue.open(), QString());
    QCOMPARE(queue.pending(), 4); // three whole pairs and the cut line
    QCOMPARE(queue.append(pairAt(t0.addSecs(600), QStringLiteral("60"))), QString());
    const ArchiveQueue::Batch rest = queue.next(100);
    QStringList temperatures;
    for (const ArchivePair &p : rest.pairs)
        temperatures << p.values[12].toString();
    QCOMPARE(temperatures, (QStringList{"52", "53", "54", "60"}));
    QCOMPARE(rest.pairs.front().outdoorAt, t0.addSecs(120));
    QVERIFY(rest.pairs.front().values[13].isNull());
    QCOMPARE(queue.commit(rest), QString());
    QCOMPARE(queue.pending(), 0);
    QVERIFY(!QFile::exists(path));
    QVERIFY(!QFile::exists(path + QStringLiteral(".done")));
}

void TstArchive::passesReachServerThatGoesAway()
{
    LocalPostgres server;
    // The data need not survive a power cut here; that keeps the test quick.
    const QString started = server.start(QString(), {QStringLiteral("-c fsync=off")});
    QVERIFY2(started.isEmpty(), qPrintable(started));

    QTemporaryDir dir;
    ManualClock clock(QDateTime(QDate(2026, 3, 9), QTime(14, 0)));
    ReadingsRecord record;
    StatusBoard status;
    LogWriter writer(clock, record, status, dir.path());
    const QString queuePath = dir.filePath(QStringLiteral("archive-queue.jsonl"));
    auto archive = std::make_unique<Archive>(clock, queuePath);
    archive->setRetryDelays(30000, 120000);
    writer.setPairWritten([&](const QDateTime &o, const QDateTime &i,
                              const LogWriter::PairValues &v) { archive->add(o, i, v); });
    QSignalSpy failed(archive.get(), &Archive::failed);
    ArchiveSettings settings;
    settings.enabled = true;
    settings.host = QStringLiteral("127.0.0.1");
    settings.port = server.port();
    settings.user = QStringLiteral("postgres");
    settings.database = QStringLiteral("postgres");
    settings.station = QStringLiteral("Hilltop");
    settings.sslmode = QStringLiteral("disable");
    archive->setSettings(settings);

    QSqlDatabase check = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("check"));
    check.setHostName(settings.host);
    check.setPort(settings.port);
    check.setDatabaseName(settings.database);
    check.setUserName(settings.user);
    const auto scalar = [&check](const QString &sql) {
        if (!check.isOpen() && !check.open())
            return QVariant();
        QSqlQuery q(check);
        return q.exec(sql) && q.next() ? q.value(0) : QVariant();
    };

    // 100 passes a minute apart; the server is away for passes 40 to 59.
    QList<QDateTime> outdoorTimes;
    for (int i = 0; i < 100; ++i) {
        if (i == 40) {
            check.close();
            QVERIFY(server.stop());
        }
        if (i == 60) {
            const QString back = server.restart();
            QVERIFY2(back.isEmpty(), qPrintable(back));
        }
        record.setText(QStringLiteral("OutdoorTemperature"), QString::number(40 + i * 0.5));
        record.setText(QStringLiteral("IndoorTemperature"), QString::number(70 + i));
        record.setText(QStringLiteral("StationForecast"), QStringLiteral("it's \\ 'x'); --%1").arg(i));
        outdoorTimes << clock.now();
        LoggingPass pass(writer, clock);
        pass.start();
        clock.advanceMs(LoggingPass::PairDelayMs);
        QVERIFY(pass.result().ok());
        clock.advanceMs(60000 - LoggingPass::PairDelayMs);
        if (i == 45) // the worker has noticed by now, and keeps the pairs
            QTRY_VERIFY_WITH_TIMEOUT(!failed.isEmpty(), 15000);
    }
    // The retry after the server's return sends what was queued, in order.
    clock.advanceMs(120000);
    QTRY_COMPARE_WITH_TIMEOUT(scalar(QStringLiteral("SELECT count(*) FROM \"Indoor Data\"")).toInt(),
                              100, 15000);
    QTRY_COMPARE(archive->pending(), 0);
    QVERIFY(!archive->failing());
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(queuePath), 5000);

    // Every pass once, at its own instant, with its values; the indoor record 3 s later.
    QSqlQuery rows(check);
    QVERIFY2(rows.exec(QStringLiteral(
                 "SELECT o.\"Date_Time\", o.\"Temperature\", i.\"Temperature\", "
                 "i.\"Date_Time\" - o.\"Date_Time\" = interval '3 s', o.\"Heat Index\" IS NULL, "
                 "o.\"Barometric Forecast\" "
                 "FROM \"Outdoor Data\" o JOIN \"Indoor Data\" i USING (station) "
                 "WHERE station = 'Hilltop' AND i.\"Date_Time\" BETWEEN o.\"Date_Time\" AND "
                 "o.\"Date_Time\" + interval '5 s' ORDER BY 1")),
             qPrintable(rows.lastError().text()));
    int n = 0;
    while (rows.next()) {
        QVERIFY(n < 100);
        QCOMPARE(rows.value(0).toDateTime().toMSecsSinceEpoch(), outdoorTimes[n].toMSecsSinceEpoch());
        QCOMPARE(rows.value(1).toDouble(), 40 + n * 0.5);
        QCOMPARE(rows.value(2).toDouble(), 70.0 + n);
        QVERIFY(rows.value(3).toBool());
        QVERIFY(rows.value(4).toBool());
        QCOMPARE(rows.value(5).toString(), QStringLiteral("it's \\ 'x'); --%1").arg(n));
        ++n;
    }
    QCOMPARE(n, 100);
    rows.finish();

    // The month read back for a chart: numbers as stored, NULL and text as missing.
    const ArchiveMonth read =
        readArchiveMonth(check, QStringLiteral("Outdoor Data"), QStringLiteral("Hilltop"),
                         QDate(2026, 3, 20), {"Temperature", "Heat Index", "Barometric Forecast"});
    QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
    QCOMPARE(int(read.times.size()), 100);
    for (int i = 0; i < 100; ++i) {
        QCOMPARE(read.times[size_t(i)], outdoorTimes[i].toMSecsSinceEpoch());
        QCOMPARE(read.series[0][size_t(i)], 40 + i * 0.5);
        QVERIFY(std::isnan(read.series[1][size_t(i)]) && std::isnan(read.series[2][size_t(i)]));
    }
    QVERIFY(readArchiveMonth(check, QStringLiteral("Outdoor Data"), QStringLiteral("Hilltop"),
                             QDate(2026, 4, 1), {"Temperature"})
                .times.empty());
    QVERIFY(!readArchiveMonth(check, QStringLiteral("No Such Data"), QStringLiteral("Hilltop"),
                              QDate(2026, 3, 1), {"Temperature"})
                 .error.isEmpty());

    // A batch sent again (a crash before its progress was noted) adds nothing; a restarted
    // program replays what the last one queued.
    archive.reset();
    {
        ArchiveQueue queue(queuePath);
        QCOMPARE(queue.open(), QString());
        for (int i = 0; i < 10; ++i)
            QCOMPARE(queue.append(pairAt(outdoorTimes[i], QStringLiteral("1"))), QString());
        QCOMPARE(queue.append(pairAt(clock.now(), QStringLiteral("99"))), QString());
        // Queued under an earlier name, one that shares its first 24 characters with another.
        for (const char *name : {"Hilltop's old name, before the move", "Hilltop's old name, before it"}) {
            ArchivePair renamed = pairAt(clock.now(), QStringLiteral("1"));
            renamed.station = QString::fromUtf8(name);
            QCOMPARE(queue.append(renamed), QString());
        }
    }
    archive = std::make_unique<Archive>(clock, queuePath);
    archive->setSettings(settings);
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(queuePath), 10000);
    QCOMPARE(scalar(QStringLiteral("SELECT count(*) FROM \"Outdoor Data\"")).toInt(), 103);
    QCOMPARE(scalar(QStringLiteral("SELECT count(DISTINCT \"Date_Time\") FROM \"Outdoor Data\" "
                                   "WHERE station = 'Hilltop'")).toInt(),
             101);
    // Each station in parts of its own.
    QCOMPARE(scalar(QStringLiteral("SELECT count(DISTINCT tableoid) FROM \"Outdoor Data\"")).toInt(), 3);
    QCOMPARE(scalar(QStringLiteral("SELECT count(DISTINCT tableoid) FROM \"Indoor Data\"")).toInt(), 3);
    QCOMPARE(scalar(QStringLiteral("SELECT max(\"Temperature\") FROM \"Outdoor Data\"")).toDouble(), 99.0);
    // A queue file that cannot be written (here its folder is missing) holds nothing up.
    archive = std::make_unique<Archive>(clock, dir.filePath(QStringLiteral("gone/queue.jsonl")));
    archive->setSettings(settings);
    LogWriter::PairValues late;
    late[12] = QStringLiteral("98");
    archive->add(clock.now().addSecs(60), clock.now().addSecs(63), late);
    QTRY_COMPARE_WITH_TIMEOUT(
        scalar(QStringLiteral("SELECT count(*) FROM \"Outdoor Data\"")).toInt(), 104, 10000);

    // The month file, the record of truth, has every pair.
    QSqlDatabase month = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("month"));
    month.setDatabaseName(MonthDatabase(dir.path(), QDate(2026, 3, 1)));
    QVERIFY(month.open());
    QSqlQuery monthRows(month);
    QVERIFY(monthRows.exec(QStringLiteral("SELECT count(*) FROM \"Indoor Data\"")) && monthRows.next());
    QCOMPARE(monthRows.value(0).toInt(), 100);
}

QTEST_GUILESS_MAIN(TstArchive)
#include "tst_archive.moc"
