// corvane must stop cleanly, with exit code 0, on SIGTERM and SIGINT, in start-up too, and
// headless mode tells about a configuration file it refuses or that others can read.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/stat.h>

class TstHeadless : public QObject
{
    Q_OBJECT
private slots:
    void stopsCleanlyOnSignal_data();
    void stopsCleanlyOnSignal();
    void startUpTellsAboutTheConfigurationOnce_data();
    void startUpTellsAboutTheConfigurationOnce();
    void desktopStopsCleanlyOnSignalInStartUp_data();
    void desktopStopsCleanlyOnSignalInStartUp();
};

namespace {

void startCorvane(QProcess &corvane, const QString &home, const QStringList &args)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("CORVANE_HOME"), home);
    corvane.setProcessEnvironment(env);
    corvane.start(QStringLiteral(CORVANE_EXECUTABLE), args);
}

// Standard error until it holds `text`, or for 10 s.
QByteArray errorOutputUntil(QProcess &corvane, const QByteArray &text)
{
    QByteArray err;
    QDeadlineTimer deadline(10000);
    while (!err.contains(text) && !deadline.hasExpired()) {
        corvane.waitForReadyRead(200);
        err += corvane.readAllStandardError();
    }
    return err;
}

} // namespace

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
    // Status lines carry an ISO time stamp. Qt's offscreen platform, which the graphs draw
    // on, may say a word of its own first.
    QVERIFY(QRegularExpression(
                QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d corvane: headless"),
                QRegularExpression::MultilineOption)
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

void TstHeadless::startUpTellsAboutTheConfigurationOnce_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("notice");
    QTest::newRow("FIFO without a writer")
        << "fifo" << QByteArray("Corvane.cfg: not a regular file");
    QTest::newRow("readable by others") << "file" << QByteArray("Corvane.cfg makes it private");
}

void TstHeadless::startUpTellsAboutTheConfigurationOnce()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, notice);
    QTemporaryDir home;
    const QByteArray cfg = QFile::encodeName(home.filePath(QStringLiteral("Corvane.cfg")));
    if (kind == QLatin1String("fifo")) {
        QCOMPARE(::mkfifo(cfg.constData(), 0600), 0);
    } else {
        QFile f(QFile::decodeName(cfg));
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(::chmod(cfg.constData(), 0644), 0);
    }
    QProcess corvane;
    const mode_t oldUmask = ::umask(0);
    startCorvane(corvane, home.path(),
                 {QStringLiteral("--headless"), QStringLiteral("--simulate")});
    ::umask(oldUmask);
    QVERIFY(corvane.waitForStarted(5000));

    // Printed once start-up has read the configuration and opened the port.
    QByteArray err = errorOutputUntil(corvane, "corvane: station port ");
    QVERIFY2(err.contains("corvane: station port "), err.constData());
    // Whatever it was started with, what the program and its libraries make is owner-only.
    QFile status(QStringLiteral("/proc/%1/status").arg(corvane.processId()));
    QVERIFY(status.open(QIODevice::ReadOnly));
    QVERIFY(status.readAll().contains("\nUmask:\t0077\n"));
    QCOMPARE(::kill(pid_t(corvane.processId()), SIGINT), 0);
    QVERIFY(corvane.waitForFinished(5000));
    err += corvane.readAllStandardError();
    QCOMPARE(corvane.exitStatus(), QProcess::NormalExit);
    QCOMPARE(corvane.exitCode(), 0);
    QVERIFY2(err.count(notice) == 1, err.constData());
}

void TstHeadless::desktopStopsCleanlyOnSignalInStartUp_data()
{
    stopsCleanlyOnSignal_data();
}

void TstHeadless::desktopStopsCleanlyOnSignalInStartUp()
{
    QFETCH(int, signo);
    QTemporaryDir dir;
    // The program makes its folder after it began to watch for signals, before it reads
    // the configuration.
    const QString home = dir.filePath(QStringLiteral("home"));
    QProcess corvane;
    startCorvane(corvane, home, {QStringLiteral("--simulate")});
    QVERIFY(corvane.waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(home), 10000);
    QCOMPARE(::kill(pid_t(corvane.processId()), signo), 0);
    QVERIFY(corvane.waitForFinished(10000));
    QCOMPARE(corvane.exitStatus(), QProcess::NormalExit);
    QCOMPARE(corvane.exitCode(), 0);
}

QTEST_GUILESS_MAIN(TstHeadless)
#include "tst_headless.moc"
