// The simulated console: repeatable, plausible, slowly changing frames that decode to
// exactly what was simulated, delivered through a pseudo-terminal on the clock's timer.
#include "acquisition/bitconversions.h"
#include "acquisition/readingsrecord.h"
#include "acquisition/serialport.h"
#include "acquisition/stationlink.h"
#include "simulator/simulatedconsole.h"
#include "fakes/manualclock.h"

#include <QtTest>

class TstSimulatedConsole : public QObject
{
    Q_OBJECT
private slots:
    void repeatableForASeed();
    void framesDecodeToTheSimulatedValues_data();
    void framesDecodeToTheSimulatedValues();
    void changesSlowly();
    void feedsTheStationLinkThroughThePty();
};

namespace {

QList<QByteArray> frames(quint32 seed, int count)
{
    ManualClock clock(QDateTime(QDate(2026, 3, 1), QTime(6, 0)));
    SimulatedConsole console(clock, seed);
    QList<QByteArray> out;
    for (int i = 0; i < count; ++i) {
        clock.advanceMs(SimulatedConsole::FrameIntervalMs);
        out << console.nextFrame();
    }
    return out;
}

} // namespace

void TstSimulatedConsole::repeatableForASeed()
{
    QCOMPARE(frames(7, 40), frames(7, 40));
    QVERIFY(frames(7, 40) != frames(8, 40));
}

void TstSimulatedConsole::framesDecodeToTheSimulatedValues_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<QDateTime>("start");
    QTest::newRow("winter night") << 1u << QDateTime(QDate(2026, 1, 10), QTime(3, 0));
    QTest::newRow("summer afternoon") << 2u << QDateTime(QDate(2026, 7, 20), QTime(15, 0));
    QTest::newRow("over midnight, December") << 3u << QDateTime(QDate(2026, 12, 31), QTime(23, 50));
    QTest::newRow("another seed") << 99u << QDateTime(QDate(2026, 10, 5), QTime(12, 0));
}

// Over a simulated day every frame has a good sum and decodes, field by field, to the
// values the simulation holds: the encoder is the exact inverse of the decoders.
void TstSimulatedConsole::framesDecodeToTheSimulatedValues()
{
    QFETCH(quint32, seed);
    QFETCH(QDateTime, start);
    ManualClock clock(start);
    SimulatedConsole console(clock, seed);
    for (int i = 0; i < 24 * 60; ++i) {
        clock.advanceSeconds(60);
        console.nextFrame();
        for (const SensorGroup g :
             {SensorGroup::Humidity, SensorGroup::Temperature, SensorGroup::BarometerDewpoint,
              SensorGroup::Rain, SensorGroup::Wind}) {
            const QByteArray f = console.frame(g);
            QVERIFY(checksumMatches(f));
            const auto decoded = decodeGroup(f);
            QVERIFY(decoded.has_value());
            const DecodedGroup expected = console.weather().group(g);
            for (int k = 0; k < expected.layout->fieldCount; ++k) {
                const char *name = expected.layout->fields[k].name;
                QVERIFY2(decoded->readable.test(size_t(k)), name);
                QVERIFY2(decoded->values[size_t(k)] == expected.values[size_t(k)],
                         qPrintable(QStringLiteral("%1 at step %2").arg(name).arg(i)));
            }
        }
    }
}

void TstSimulatedConsole::changesSlowly()
{
    ManualClock clock(QDateTime(QDate(2026, 4, 1), QTime(0, 0)));
    SimulatedConsole console(clock, 5);
    double lastTemp = console.weather().outdoorTemperature();
    double lastPressure = console.weather().seaLevelPressure();
    double lowest = lastTemp;
    double highest = lastTemp;
    for (int i = 0; i < 24 * 360; ++i) { // a day in 10 s steps
        clock.advanceSeconds(10);
        console.nextFrame();
        const double t = console.weather().outdoorTemperature();
        const double p = console.weather().seaLevelPressure();
        QVERIFY2(std::fabs(t - lastTemp) < 0.5, qPrintable(QString::number(i)));
        QVERIFY(std::fabs(p - lastPressure) < 0.5);
        QVERIFY(p > 970 && p < 1050);
        lowest = std::min(lowest, t);
        highest = std::max(highest, t);
        lastTemp = t;
        lastPressure = p;
    }
    // A daily cycle, not a constant.
    QVERIFY(highest - lowest > 5);
    QVERIFY(highest - lowest < 25);
}

// The real serial path: the station port opens the console's pseudo-terminal; all five
// groups arrive at once at start, then one every two seconds on the clock.
void TstSimulatedConsole::feedsTheStationLinkThroughThePty()
{
    ManualClock clock(QDateTime(QDate(2026, 2, 1), QTime(14, 0)));
    SimulatedConsole console(clock, 11);
    QVERIFY(console.start());
    QVERIFY(!console.devicePath().isEmpty());

    auto port = createSerialPort();
    port->setDevicePath(console.devicePath());
    QVERIFY2(port->open(), qPrintable(port->errorString()));
    ReadingsRecord record;
    StationLink link(*port, clock, record, [] { return 0; });
    QSignalSpy groups(&record, &ReadingsRecord::groupChanged);

    QTRY_COMPARE(link.counters().framesDecoded, qint64(5));
    for (const QString &field : ReadingsRecord::fieldNames())
        QVERIFY2(!record.text(field).isEmpty(), qPrintable(field));
    QCOMPARE(link.counters().badChecksums + link.counters().strayBytes, qint64(0));

    QSignalSpy written(&console, &SimulatedConsole::frameWritten);
    clock.advanceMs(SimulatedConsole::FrameIntervalMs - 1);
    QCOMPARE(written.count(), 0);
    clock.advanceMs(1);
    QCOMPARE(written.count(), 1);
    clock.advanceMs(4 * SimulatedConsole::FrameIntervalMs);
    QCOMPARE(written.count(), 5);
    QTRY_COMPARE(link.counters().framesDecoded, qint64(10));
    QSet<int> seen;
    for (int i = 5; i < groups.count(); ++i)
        seen.insert(groups.at(i).first().value<int>());
    QCOMPARE(seen.size(), 5);
}

QTEST_GUILESS_MAIN(TstSimulatedConsole)
#include "tst_simulatedconsole.moc"
