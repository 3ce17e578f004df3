// Frames through a pseudo-terminal station port reach the windows' boxes, the receive
// count and the lamp, through the real serial adapter and station link.
#include "acquisition/bitconversions.h"
#include "acquisition/pseudoterminal.h"
#include "acquisition/serialport.h"
#include "acquisition/stationlink.h"
#include "fakes/consoleframes.h"
#include "fakes/manualclock.h"
#include "wxfixture.h"

#include <QtTest>

namespace {

// Outdoor humidity 45 % (BCD at byte 20); outdoor temperature 21.7 C (bytes 16-17).
const QByteArray humidity = checkedFrame(0x8F, 35, {{20, 0x45}});
const QByteArray temperature = checkedFrame(0x9F, 34, {{16, 0x17}, {17, 0x02}});

struct StationRig : WxFixture
{
    PseudoTerminal pty;
    ManualClock clock;
    std::unique_ptr<SerialPort> port = createSerialPort();
    std::unique_ptr<StationLink> link;

    bool open()
    {
        if (!pty.open())
            return false;
        port->setDevicePath(pty.slavePath());
        if (!port->open())
            return false;
        link = std::make_unique<StationLink>(*port, clock, record,
                                             [this] { return int(config.DisplayUnits); });
        wx->followStationLink(*link);
        return true;
    }
    QColor lamp() const
    {
        return wx->findChild<QLabel *>("Label41")->palette().color(QPalette::Window);
    }
};

} // namespace

class TstWxStation : public QObject
{
    Q_OBJECT
private slots:
    void framesReachTheBoxes_data();
    void framesReachTheBoxes();
    void badChecksumLeavesLampRedAndTextsAlone();
    void lastFrameTimeFollowsDecodedFramesOnly();
};

void TstWxStation::framesReachTheBoxes_data()
{
    QTest::addColumn<int>("units");
    QTest::addColumn<QString>("temperatureText");
    QTest::newRow("English") << 0 << "71.1";
    QTest::newRow("Metric") << 1 << "21.7";
}

void TstWxStation::framesReachTheBoxes()
{
    QFETCH(int, units);
    QFETCH(QString, temperatureText);
    StationRig rig;
    rig.setUnits(units);
    QVERIFY(rig.open());
    QVERIFY(rig.pty.write(humidity));
    QTRY_COMPARE(rig.box("Wx", "Text16")->text(), QString("45"));
    QCOMPARE(rig.box("Humidity", "Text2")->text(), QString("45"));
    QCOMPARE(rig.box("Wx", "CommCount")->text(), QString::number(rig.link->commCount()));
    QVERIFY(rig.link->commCount() > 0);

    QVERIFY(rig.pty.write(temperature));
    QTRY_COMPARE(rig.box("Wx", "Text10")->text(), temperatureText);
    QCOMPARE(rig.box("Temperature", "Text2")->text(), temperatureText);
    QCOMPARE(rig.lamp(), QColor(Qt::black));
}

void TstWxStation::badChecksumLeavesLampRedAndTextsAlone()
{
    StationRig rig;
    QVERIFY(rig.open());
    QVERIFY(rig.pty.write(humidity));
    QTRY_COMPARE(rig.box("Humidity", "Text2")->text(), QString("45"));
    QByteArray bad = checkedFrame(0x8F, 35, {{20, 0x77}});
    bad[34] = char(quint8(bad.at(34)) + 1);
    QVERIFY(rig.pty.write(bad));
    QTRY_COMPARE(rig.link->counters().badChecksums, qint64(1));
    QCOMPARE(rig.lamp(), QColor(Qt::red));
    QCOMPARE(rig.box("Wx", "Text16")->text(), QString("45"));
    // Any byte outside the frame table turns it back.
    QVERIFY(rig.pty.write(QByteArray(1, '\xFF')));
    QTRY_COMPARE(rig.lamp(), QColor(Qt::black));
}

// The status bar's "Last frame" takes the clock's time of each decoded frame; a frame with a
// bad sum is no sign of life and leaves it.
void TstWxStation::lastFrameTimeFollowsDecodedFramesOnly()
{
    StationRig rig;
    QVERIFY(rig.open());
    QLabel *last = rig.wx->findChild<QLabel *>("LastFrame");
    QVERIFY(last);
    QCOMPARE(last->text(), QString("Last frame --:--:--"));
    rig.clock.advanceMs(9'250);
    QVERIFY(rig.pty.write(humidity));
    QTRY_COMPARE(last->text(), QString("Last frame 12:00:09"));
    QCOMPARE(last->toolTip(), QString("Last frame from the station: 1/15/2026 12:00:09 PM"));

    rig.clock.advanceSeconds(3600 + 75);
    QByteArray bad = humidity;
    bad[34] = char(quint8(bad.at(34)) + 1);
    QVERIFY(rig.pty.write(bad));
    QTRY_COMPARE(rig.link->counters().badChecksums, qint64(1));
    QCOMPARE(last->text(), QString("Last frame 12:00:09"));
    QVERIFY(rig.pty.write(temperature));
    QTRY_COMPARE(last->text(), QString("Last frame 13:01:24"));

    // A window that starts following a link late shows its last frame at once.
    WxFixture late;
    late.wx->followStationLink(*rig.link);
    QCOMPARE(late.wx->findChild<QLabel *>("LastFrame")->text(), QString("Last frame 13:01:24"));
}

QTEST_MAIN(TstWxStation)
#include "tst_wxstation.moc"
