// The engine's start-up, port handling, plugged-in jobs and logging, run on a manual clock.
#include "acquisition/readingsrecord.h"
#include "acquisition/stationlink.h"
#include "app/runtime.h"
#include "config/configfile.h"
#include "core/statusboard.h"
#include "fakes/fakejob.h"
#include "fakes/manualclock.h"
#include "fakes/scriptedserialport.h"
#include "logging/monthdatabase.h"
#include "logging/sqlitefile.h"
#include "scheduler/scheduler.h"
#include "simulator/simulatedconsole.h"

#include <QFile>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDateTime kStart(QDate(2026, 4, 30), QTime(9, 0, 0));

bool writePortsFile(const QString &dir, const QStringList &lines)
{
    QFile f(QDir(dir).filePath(QStringLiteral("Ports.cfg")));
    return f.open(QIODevice::WriteOnly | QIODevice::Text) &&
           f.write(lines.join('\n').toUtf8() + '\n') > 0;
}

Configuration stationConfig(int port)
{
    Configuration c;
    c.StationPort = qint16(port);
    return c;
}

DeviceFactories scripted(ScriptedSerialBus &bus)
{
    DeviceFactories d;
    d.serialPort = bus.factory();
    return d;
}

// Station port 1 is `device`; a record pair every minute.
bool writeMinuteLoggingSetup(const QString &dir, const QString &device)
{
    Configuration c = stationConfig(1);
    c.LoggingInterval = 1;
    return writePortsFile(dir, {QStringLiteral("1=%1").arg(device)}) &&
           saveConfiguration(configurationFilePath(), c).ok();
}

} // namespace

class TstRuntime : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startUpWithoutConfigurationFile();
    void startUpAppliesFileAndOpensMappedPort();
    void stationPortFailureOnlyShowsStatusText_data();
    void stationPortFailureOnlyShowsStatusText();
    void savedConfigurationReopensPortOnlyWhenChanged();
    void pluggedJobsRunWhenDue();
    void framesReachTheMonthLog();
    void stationOutageSkipsLoggingUntilFramesReturn();
    void simulatedConsoleFeedsTheRecord();
    void shutDownStopsEverything();

private:
    std::unique_ptr<QTemporaryDir> m_home;
};

void TstRuntime::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    qputenv("CORVANE_HOME", m_home->path().toLocal8Bit());
}

void TstRuntime::cleanup()
{
    qunsetenv("CORVANE_HOME");
    m_home.reset();
}

void TstRuntime::startUpWithoutConfigurationFile()
{
    ManualClock clock(kStart);
    Runtime runtime(clock, RunOptions{});
    QSignalSpy changed(&runtime, &Runtime::configurationChanged);
    runtime.startUp();
    QCOMPARE(changed.size(), 1);
    QCOMPARE(runtime.configuration().DisplayUnits, qint16(0));
    QVERIFY(!runtime.stationPortOpen());
    QVERIFY(!runtime.status().statusText().isEmpty());
    QVERIFY(runtime.scheduler().isRunning());

    // Logging is off, yet the first tick creates the month file (and the missing template).
    const QString month = MonthDatabase(m_home->path(), kStart.date());
    clock.advanceSeconds(19);
    QVERIFY(!QFileInfo::exists(month));
    clock.advanceSeconds(1);
    QVERIFY(QFileInfo::exists(month));
    QVERIFY(QFileInfo::exists(logTemplatePath(m_home->path())));
}

void TstRuntime::startUpAppliesFileAndOpensMappedPort()
{
    ScriptedSerialBus bus;
    bus.plug(QStringLiteral("/dev/ttyUSB3"));
    QVERIFY(writePortsFile(m_home->path(), {QStringLiteral("3=/dev/ttyUSB3")}));
    Configuration c = stationConfig(3);
    c.DisplayUnits = 1;
    c.LoggingInterval = 5;
    QVERIFY(saveConfiguration(configurationFilePath(), c).ok());

    ManualClock clock(kStart);
    Runtime runtime(clock, RunOptions{}, scripted(bus));
    runtime.startUp();
    QCOMPARE(runtime.configuration().DisplayUnits, qint16(1));
    QCOMPARE(runtime.configuration().LoggingInterval, qint16(5));
    QCOMPARE(runtime.stationDevicePath(), QStringLiteral("/dev/ttyUSB3"));
    QVERIFY(bus.isOpen(QStringLiteral("/dev/ttyUSB3")));
}

void TstRuntime::stationPortFailureOnlyShowsStatusText_data()
{
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("mapping");
    QTest::newRow("no port set") << 0 << QString();
    QTest::newRow("device missing") << 2 << "2=/dev/corvane-no-such-device";
}

void TstRuntime::stationPortFailureOnlyShowsStatusText()
{
    QFETCH(int, port);
    QFETCH(QString, mapping);
    if (!mapping.isEmpty())
        QVERIFY(writePortsFile(m_home->path(), {mapping}));
    QVERIFY(saveConfiguration(configurationFilePath(), stationConfig(port)).ok());
    ScriptedSerialBus bus; // nothing plugged in
    ManualClock clock(kStart);
    Runtime runtime(clock, RunOptions{}, scripted(bus));
    QSignalSpy status(&runtime.status(), &StatusBoard::statusTextChanged);
    runtime.startUp();
    QVERIFY(!runtime.stationPortOpen());
    QCOMPARE(status.size(), 1);
    QVERIFY(runtime.scheduler().isRunning());
    QCOMPARE(runtime.status().title(), QString());
}

void TstRuntime::savedConfigurationReopensPortOnlyWhenChanged()
{
    ScriptedSerialBus bus;
    const QString first = QStringLiteral("/dev/ttyUSB0");
    const QString second = QStringLiteral("/dev/ttyUSB1");
    bus.plug(first);
    bus.plug(second);
    QVERIFY(writePortsFile(
        m_home->path(), {QStringLiteral("1=%1").arg(first), QStringLiteral("2=%1").arg(second)}));
    QVERIFY(saveConfiguration(configurationFilePath(), stationConfig(1)).ok());
    ManualClock clock(kStart);
    Runtime runtime(clock, RunOptions{}, scripted(bus));
    runtime.startUp();
    QCOMPARE(runtime.stationDevicePath(), first);

    QSignalSpy changed(&runtime, &Runtime::configurationChanged);
    Configuration c = runtime.configuration();
    c.UploadInterval = 7;
    runtime.setConfiguration(c);
    QCOMPARE(runtime.configuration().UploadInterval, qint16(7));
    QVERIFY(bus.isOpen(first));

    c.StationPort = 2;
    runtime.setConfiguration(c);
    QVERIFY(bus.isOpen(second));
    QCOMPARE(changed.size(), 2);
    QVERIFY2(!bus.isOpen(first), "the old device is free again for another program");
}

void TstRuntime::pluggedJobsRunWhenDue()
{
    ManualClock clock(kStart.addSecs(40)); // ticks on whole 10 s from 09:01:00
    Runtime runtime(clock, RunOptions{});
    runtime.startUp();
    Configuration c = runtime.configuration();
    c.UploadInterval = 1;
    c.Pagers[1].Enabled = 1;
    c.Graph[GraphUploadTime] = QDateTime(QDate(2001, 1, 1), QTime(9, 3));
    c.Graph[UploadGraphs] = 1;
    runtime.setConfiguration(c);

    // Each plugged job records when its runs start; a publishing pass takes 65 s.
    const auto recorder = [&clock](QList<QDateTime> &starts, int ms) -> JobFactory {
        return [&clock, &starts, ms] {
            return std::make_unique<FakeJob>(clock, ms, [&] { starts << clock.now(); });
        };
    };
    QList<QDateTime> published;
    QList<QDateTime> graphs;
    QList<QDateTime> checks;
    QList<QDateTime> clears;
    QStringList notes;
    connect(&runtime.status(), &StatusBoard::noteChanged, [&](const QString &t) { notes << t; });
    runtime.setPublishing(recorder(published, 65000));
    runtime.setGraphs(recorder(graphs, 0));
    runtime.setPaging(recorder(checks, 0), [&] { clears << clock.now(); });
    clock.advanceTo(QDateTime(kStart.date(), QTime(9, 5, 10)));

    const auto today = [](int h, int m, int s) { return QDateTime(kStart.date(), QTime(h, m, s)); };
    // Each pass starts on the first tick after the one before has ended.
    QCOMPARE(published, (QList<QDateTime>{today(9, 2, 10), today(9, 3, 20), today(9, 4, 30)}));
    QCOMPARE(notes,
             QStringList(3, "Corvane : Publishing skipped, the previous pass is still running"));
    QCOMPARE(graphs, QList<QDateTime>{today(9, 3, 0)});
    QCOMPARE(checks.size(), 26); // every tick, 09:01:00 to 09:05:10
    QCOMPARE(clears, (QList<QDateTime>{today(9, 5, 0), today(9, 5, 10)}));
    QVERIFY(runtime.scheduler().isRunning(ScheduledJob::Publishing));

    // Unplugged, the pass in progress is abandoned, and nothing more is published.
    runtime.setPublishing({});
    QVERIFY(!runtime.scheduler().isRunning(ScheduledJob::Publishing));
    clock.advanceSeconds(5 * 60);
    QCOMPARE(published.size(), 3);
}

void TstRuntime::framesReachTheMonthLog()
{
    ScriptedSerialBus bus;
    const QString device = QStringLiteral("/dev/ttyUSB0");
    bus.plug(device);
    QVERIFY(writeMinuteLoggingSetup(m_home->path(), device));
    ManualClock clock(kStart.addSecs(40));
    Runtime runtime(clock, RunOptions{}, scripted(bus));
    runtime.startUp();

    SimulatedConsole console(clock, 7);
    QVERIFY(bus.send(device, console.frame(SensorGroup::Temperature)));
    const double shown = runtime.record().text(QStringLiteral("OutdoorTemperature")).toDouble();
    QVERIFY(runtime.record().has(QStringLiteral("OutdoorTemperature")));

    QStringList titles;
    connect(&runtime.status(), &StatusBoard::titleChanged, [&](const QString &t) { titles << t; });
    clock.advanceSeconds(2 * 60); // the first record is due one minute after the first tick
    QVERIFY2(!titles.isEmpty() &&
                 titles.last().startsWith(QLatin1String("Corvane : DataBase Logging Completed")),
             qPrintable(titles.join(" | ")));

    SqliteFile db;
    QVERIFY(db.open(MonthDatabase(m_home->path(), kStart.date()), SqliteFile::Mode::ReadOnly).ok());
    QSqlQuery q(db.database());
    QVERIFY(q.exec(QStringLiteral("SELECT \"Temperature\", \"Humidity\" FROM \"Outdoor Data\"")));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toDouble(), shown);
    QVERIFY(q.value(1).isNull()); // no humidity frame came
}

// The cable is pulled after one frame: logging stops writing the old readings once they
// are two minutes old, the port is reopened when a device is back behind the same path,
// and logging resumes with the next frame.
void TstRuntime::stationOutageSkipsLoggingUntilFramesReturn()
{
    ScriptedSerialBus bus;
    const QString device = QStringLiteral("/dev/ttyUSB0");
    bus.plug(device);
    QVERIFY(writeMinuteLoggingSetup(m_home->path(), device));
    ManualClock clock(kStart.addSecs(40));
    Runtime runtime(clock, RunOptions{}, scripted(bus));
    runtime.startUp();
    SimulatedConsole console(clock, 7);
    QVERIFY(bus.send(device, console.frame(SensorGroup::Temperature)));
    auto rows = [this] {
        SqliteFile db;
        if (!db.open(MonthDatabase(m_home->path(), kStart.date()), SqliteFile::Mode::ReadOnly).ok())
            return -1;
        QSqlQuery q(db.database());
        return q.exec(QStringLiteral("SELECT COUNT(*) FROM \"Indoor Data\"")) && q.next()
                   ? q.value(0).toInt()
                   : -1;
    };

    bus.unplug(device); // the cable is pulled
    QVERIFY(runtime.status().statusText().contains(QLatin1String("lost")));
    clock.advanceTo(kStart.addSecs(5 * 60)); // passes at 9:02:10 (90 s old data), 9:03:10, 9:04:10
    QCOMPARE(rows(), 1);
    QCOMPARE(runtime.status().title(),
             QStringLiteral("Corvane : No station data since 4/30/2026 9:00:40 AM"));

    bus.plug(device);
    clock.advanceSeconds(10);
    QCOMPARE(runtime.status().statusText(),
             QStringLiteral("Station port %1 is open again.").arg(device));
    QVERIFY(bus.send(device, console.frame(SensorGroup::Temperature)));
    clock.advanceSeconds(65); // the pass of the 9:06:10 tick, and its indoor record 3 s later
    QCOMPARE(rows(), 2);
    QVERIFY(
        runtime.status().title().startsWith(QLatin1String("Corvane : DataBase Logging Completed")));
}

void TstRuntime::simulatedConsoleFeedsTheRecord()
{
    ManualClock clock(kStart);
    RunOptions options;
    options.simulate = true;
    Runtime runtime(clock, options);
    runtime.startUp();
    QVERIFY(runtime.stationPortOpen());
    QVERIFY(runtime.stationDevicePath().startsWith(QLatin1String("/dev/")));
    QSet<int> groups;
    connect(&runtime.record(), &ReadingsRecord::groupChanged,
            [&](SensorGroup g) { groups.insert(int(g)); });
    // One round of the console's five groups; the frames travel through a real
    // pseudo-terminal, so only their delivery is waited for.
    clock.advanceMs(5 * SimulatedConsole::FrameIntervalMs);
    QTRY_COMPARE(groups.size(), 5);
}

void TstRuntime::shutDownStopsEverything()
{
    ScriptedSerialBus bus;
    bus.plug(QStringLiteral("/dev/ttyUSB0"));
    QVERIFY(writePortsFile(m_home->path(), {QStringLiteral("1=/dev/ttyUSB0")}));
    QVERIFY(saveConfiguration(configurationFilePath(), stationConfig(1)).ok());
    ManualClock clock(kStart);
    Runtime runtime(clock, RunOptions{}, scripted(bus));
    runtime.startUp();
    QVERIFY(runtime.stationPortOpen());
    runtime.shutDown();
    QVERIFY(!bus.isOpen(QStringLiteral("/dev/ttyUSB0")));
    QVERIFY(!runtime.scheduler().isRunning());
    clock.advanceSeconds(60);
    QVERIFY(!QFileInfo::exists(MonthDatabase(m_home->path(), kStart.date())));
}

QTEST_GUILESS_MAIN(TstRuntime)
#include "tst_runtime.moc"
