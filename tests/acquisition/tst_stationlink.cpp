// The station link over a real pseudo-terminal through the QSerialPort adapter, with a
// manual clock for the completion limit.
#include "acquisition/bitconversions.h"
#include "acquisition/pseudoterminal.h"
#include "acquisition/readingsrecord.h"
#include "acquisition/serialport.h"
#include "acquisition/stationlink.h"
#include "fakes/consoleframes.h"
#include "fakes/manualclock.h"

#include <QtTest>

namespace {

// Outdoor humidity 45 %; outdoor temperature 21.7 C.
const QByteArray humidity = checkedFrame(0x8F, 35, {{20, 0x45}});
const QByteArray temperature = checkedFrame(0x9F, 34, {{16, 0x17}, {17, 0x02}});

struct Rig
{
    PseudoTerminal pty;
    ManualClock clock;
    ReadingsRecord record;
    std::unique_ptr<SerialPort> port = createSerialPort();
    int units = 0;
    std::unique_ptr<StationLink> link;

    bool open()
    {
        if (!pty.open())
            return false;
        port->setDevicePath(pty.slavePath());
        if (!port->open())
            return false;
        link = std::make_unique<StationLink>(*port, clock, record, [this] { return units; });
        return true;
    }
};

} // namespace

class TstStationLink : public QObject
{
    Q_OBJECT
private slots:
    void wholeFrameWithExtraBytes();
    void identifierThenRestInTime();
    void tenOfThirtyThreeInTime();
    void restInTimeWhileTheLoopWasBusy();
    void badChecksumLeavesLampRed();
    void unknownByteTurnsLampBlack();
    void unitsAskedOnEveryFrame();
};

// A humidity frame plus the first bytes of a temperature frame in one write: the
// humidity frame is decoded at once; the temperature frame waits and is dropped by its
// checksum when its rest does not come within 0.3 s.
void TstStationLink::wholeFrameWithExtraBytes()
{
    Rig rig;
    QVERIFY(rig.open());
    QSignalSpy counts(rig.link.get(), &StationLink::commCountChanged);
    QSignalSpy changed(&rig.record, &ReadingsRecord::groupChanged);
    QVERIFY(rig.pty.write(humidity + temperature.left(5)));
    QTRY_COMPARE(changed.count(), 1);
    QCOMPARE(rig.record.text("OutdoorHumidity"), QString("45"));
    QCOMPARE(counts.first().first().toInt(), 40);
    QCOMPARE(rig.link->lampColor(), 255); // the temperature frame is being handled

    rig.clock.advanceMs(299);
    QCOMPARE(rig.link->counters().badChecksums, 0);
    rig.clock.advanceMs(1);
    QCOMPARE(rig.link->counters().badChecksums, 1);
    QCOMPARE(changed.count(), 1);
    QVERIFY(!rig.record.has("OutdoorTemperature"));

    // The next temperature frame is decoded normally.
    QVERIFY(rig.pty.write(temperature));
    QTRY_COMPARE(changed.count(), 2);
    QCOMPARE(rig.record.text("OutdoorTemperature"), QString("71.1"));
    QCOMPARE(rig.link->lampColor(), 0);
}

void TstStationLink::identifierThenRestInTime()
{
    Rig rig;
    QVERIFY(rig.open());
    QSignalSpy changed(&rig.record, &ReadingsRecord::groupChanged);
    QSignalSpy lamps(rig.link.get(), &StationLink::lampColorChanged);
    QVERIFY(rig.pty.write(temperature.left(1)));
    QTRY_COMPARE(lamps.count(), 1);
    QCOMPARE(rig.link->lampColor(), 255);
    rig.clock.advanceMs(250);
    QVERIFY(rig.pty.write(temperature.mid(1)));
    QTRY_COMPARE(changed.count(), 1);
    QCOMPARE(rig.link->lampColor(), 0);
    QCOMPARE(rig.record.text("OutdoorTemperature"), QString("71.1"));

    // Read size is back to 1: a stray byte right before a frame costs only itself.
    QVERIFY(rig.pty.write(QByteArray(1, '\x00') + humidity));
    QTRY_COMPARE(changed.count(), 2);
    QCOMPARE(rig.link->counters().strayBytes, 1);
    QCOMPARE(rig.link->counters().framesDecoded, 2);
}

void TstStationLink::tenOfThirtyThreeInTime()
{
    Rig rig;
    QVERIFY(rig.open());
    QSignalSpy changed(&rig.record, &ReadingsRecord::groupChanged);
    QVERIFY(rig.pty.write(temperature.left(11)));
    QTRY_COMPARE(rig.link->lampColor(), 255);
    rig.clock.advanceMs(300);
    QCOMPARE(rig.link->counters().badChecksums, 1);
    // The late rest is read one stray byte at a time and decodes nothing.
    QVERIFY(rig.pty.write(temperature.mid(11)));
    QTRY_COMPARE(rig.link->counters().strayBytes, 23);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(rig.link->lampColor(), 0);
}

// The rest came in time, but the thread was busy, so the deadline's timer is handled
// before the port's receive event: the bytes that had arrived still complete the frame.
void TstStationLink::restInTimeWhileTheLoopWasBusy()
{
    Rig rig;
    QVERIFY(rig.open());
    QSignalSpy changed(&rig.record, &ReadingsRecord::groupChanged);
    QVERIFY(rig.pty.write(temperature.left(1)));
    QTRY_COMPARE(rig.link->lampColor(), 255);
    rig.clock.advanceMs(100);
    QVERIFY(rig.pty.write(temperature.mid(1)));
    QElapsedTimer busy;
    busy.start();
    while (busy.elapsed() < 500) {
    }                         // a long step on the main thread: no event runs
    rig.clock.advanceMs(200); // the deadline fires first
    QCOMPARE(changed.count(), 1);
    QCOMPARE(rig.link->counters().badChecksums, 0);
    QCOMPARE(rig.record.text("OutdoorTemperature"), QString("71.1"));
    // Nothing is read twice when the held-back receive event finally runs.
    QTest::qWait(50);
    QCOMPARE(rig.link->counters().strayBytes, 0);
    QCOMPARE(changed.count(), 1);
}

void TstStationLink::badChecksumLeavesLampRed()
{
    Rig rig;
    QVERIFY(rig.open());
    QVERIFY(rig.pty.write(humidity));
    QTRY_COMPARE(rig.link->counters().framesDecoded, 1);
    QByteArray bad = checkedFrame(0x8F, 35, {{20, 0x77}});
    bad[34] = char(quint8(bad.at(34)) + 1);
    QVERIFY(rig.pty.write(bad));
    QTRY_COMPARE(rig.link->counters().badChecksums, 1);
    QCOMPARE(rig.link->lampColor(), 255);
    QCOMPARE(rig.record.text("OutdoorHumidity"), QString("45"));
}

void TstStationLink::unknownByteTurnsLampBlack()
{
    Rig rig;
    QVERIFY(rig.open());
    QByteArray bad = humidity;
    bad[34] = char(quint8(bad.at(34)) + 1);
    QVERIFY(rig.pty.write(bad));
    QTRY_COMPARE(rig.link->counters().badChecksums, 1);
    QSignalSpy lamps(rig.link.get(), &StationLink::lampColorChanged);
    QVERIFY(rig.pty.write(QByteArray(1, '\xFF')));
    QTRY_COMPARE(rig.link->counters().strayBytes, 1);
    QCOMPARE(lamps.count(), 1);
    QCOMPARE(lamps.first().first().toInt(), 0);
    QVERIFY(rig.record.texts().isEmpty());
}

void TstStationLink::unitsAskedOnEveryFrame()
{
    Rig rig;
    QVERIFY(rig.open());
    QVERIFY(rig.pty.write(temperature));
    QTRY_COMPARE(rig.link->counters().framesDecoded, 1);
    QCOMPARE(rig.record.text("OutdoorTemperature"), QString("71.1"));
    rig.units = 1;
    QVERIFY(rig.pty.write(temperature));
    QTRY_COMPARE(rig.link->counters().framesDecoded, 2);
    QCOMPARE(rig.record.text("OutdoorTemperature"), QString("21.7"));
}

QTEST_GUILESS_MAIN(TstStationLink)
#include "tst_stationlink.moc"
