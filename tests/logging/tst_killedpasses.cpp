// A logging pass killed at any point leaves a sound month file with whole record pairs only.
#include "logging/sqlitefile.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

namespace {

constexpr int Kills = 50;
// Short enough for 50 lives in a few seconds, long enough that most kills land between the
// two readings of a pass.
constexpr int PairDelayMs = 25;

} // namespace

class TstKilledPasses : public QObject
{
    Q_OBJECT
private slots:
    void killedPassesLeaveWholePairs();
};

void TstKilledPasses::killedPassesLeaveWholePairs()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QRandomGenerator random(20260315);
    int halfPairs = 0;
    int inTransaction = 0; // kills that left a journal to roll back
    int lastOutdoor = 0;
    int lastIndoor = 0;
    for (int kill = 1; kill <= Kills; ++kill) {
        QProcess loop;
        loop.start(QStringLiteral(CORVANE_LOGPASSLOOP), {dir.path(), QString::number(PairDelayMs)});
        QVERIFY(loop.waitForStarted(5000));
        // One whole pass first, then the kill anywhere in the next one or two.
        QVERIFY2(loop.waitForReadyRead(5000), qPrintable(loop.readAllStandardError()));
        QThread::msleep(random.bounded(2 * PairDelayMs + 20));
        loop.kill(); // SIGKILL
        QVERIFY(loop.waitForFinished(5000));
        QCOMPARE(loop.exitStatus(), QProcess::CrashExit);
        QVERIFY2(!loop.readAllStandardOutput().contains("failed"), "a pass failed");

        // The month files of the real date (two when the month ends under the test); opening
        // one rolls a hot journal back.
        int outdoor = 0;
        int indoor = 0;
        const QStringList files =
            QDir(dir.path())
                .entryList({QStringLiteral("*.MDB")}, QDir::Files | QDir::CaseSensitive);
        QVERIFY(!files.isEmpty());
        for (const QString &name : files) {
            inTransaction += QFileInfo(dir.filePath(name + QStringLiteral("-journal"))).size() > 0;
            SqliteFile db;
            QVERIFY(db.open(dir.filePath(name), SqliteFile::Mode::ReadWrite).ok());
            QSqlQuery q(db.database());
            QVERIFY(q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next());
            QCOMPARE(q.value(0).toString(), QStringLiteral("ok"));
            QVERIFY(q.exec(QStringLiteral("SELECT (SELECT count(*) FROM \"Outdoor Data\"), "
                                          "(SELECT count(*) FROM \"Indoor Data\")")) &&
                    q.next());
            outdoor += q.value(0).toInt();
            indoor += q.value(1).toInt();
        }
        QVERIFY(outdoor > lastOutdoor); // the pass that was reported is there
        halfPairs += (outdoor - indoor) != (lastOutdoor - lastIndoor);
        lastOutdoor = outdoor;
        lastIndoor = indoor;
    }
    qInfo("%d kills, %d in a transaction; %d outdoor and %d indoor records; %d kills left a "
          "half pair",
          Kills, inTransaction, lastOutdoor, lastIndoor, halfPairs);
    QCOMPARE(halfPairs, 0);
    QCOMPARE(lastOutdoor, lastIndoor);
}

QTEST_GUILESS_MAIN(TstKilledPasses)
#include "tst_killedpasses.moc"
