// corvane --headless must stop cleanly, with exit code 0, on SIGTERM and SIGINT.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

class TstHeadless : public QObject
{
    Q_OBJECT
private slots:
    void stopsCleanlyOnSignal_data();
    void stopsCleanlyOnSignal();
};

void TstHeadless::stopsCleanlyOnSignal_data()
{
    QTest::addColumn<int>("signo");
    QTest::addColumn<QString>("name");
    QTest::newRow("SIGTERM") << int(SIGTERM) << "SIGTERM";
    QTest::newRow("SIGINT") << int(SIGINT) << "SIGINT";
}

void TstHeadless::stopsCleanlyOnSignal()
{
    QFETCH(int, signo);
    QFETCH(QString, name);
    QTemporaryDir home;
    QProcess corvane;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("CORVANE_HOME"), home.path());
    corvane.setProcessEnvironment(env);
    corvane.start(QStringLiteral(CORVANE_EXECUTABLE),
                  {QStringLiteral("--headless"), QStringLiteral("--simulate")});
    QVERIFY(corvane.waitForStarted(5000));

    // Wait for the first reading summary: the simulated console reached the record.
    QByteArray err;
    QDeadlineTimer deadline(10000);
    while (!err.contains(" temperature: ") && !deadline.hasExpired()) {
        corvane.waitForReadyRead(200);
        err += corvane.readAllStandardError();
    }
    QVERIFY2(err.contains(" temperature: "), err.constData());
    // Status lines carry an ISO time stamp.
    QVERIFY(QRegularExpression(
                QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d corvane: headless"))
                .match(QString::fromLocal8Bit(err))
                .hasMatch());

    QCOMPARE(::kill(pid_t(corvane.processId()), signo), 0);
    QVERIFY(corvane.waitForFinished(5000));
    err += corvane.readAllStandardError();
    QCOMPARE(corvane.exitStatus(), QProcess::NormalExit);
    QCOMPARE(corvane.exitCode(), 0);
    QVERIFY2(err.contains("stopping on " + name.toLatin1()), err.constData());
    QVERIFY(err.contains("corvane: stopped"));
}

QTEST_GUILESS_MAIN(TstHeadless)
#include "tst_headless.moc"
