// A lost station port is reopened on the clock's timer: the same path, a new device behind it.
#include "acquisition/portkeeper.h"
#include "acquisition/pseudoterminal.h"
#include "acquisition/serialport.h"
#include "fakes/manualclock.h"

#include <QTemporaryDir>
#include <QtTest>

class TstPortKeeper : public QObject
{
    Q_OBJECT
private slots:
    void reopensANewDeviceAtTheSamePath();
};

// The path is a symbolic link, as "Ports.cfg" may name one (a udev alias of a USB adapter):
// unplugging closes the pseudo-terminal, plugging in makes a new one behind the link.
void TstPortKeeper::reopensANewDeviceAtTheSamePath()
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("station"));
    auto plugIn = [&link](PseudoTerminal &pty) {
        QFile::remove(link);
        return pty.open() && QFile::link(pty.slavePath(), link);
    };

    ManualClock clock;
    auto port = createSerialPort();
    port->setDevicePath(link);
    PortKeeper keeper(*port, clock);
    QSignalSpy lost(&keeper, &PortKeeper::lost);
    QSignalSpy returned(&keeper, &PortKeeper::returned);

    auto first = std::make_unique<PseudoTerminal>();
    QVERIFY(plugIn(*first));
    QVERIFY(keeper.open());
    // Unplugged: udev takes the alias away with the device. Left in place, it could point at
    // another program's new pseudo-terminal that got the freed number.
    first.reset();
    QFile::remove(link);
    QTRY_COMPARE(lost.count(), 1);
    QVERIFY(!port->isOpen());

    // Every 10 s for five minutes; the loss is told once, not on every failed try.
    for (int i = 0; i < 29; ++i)
        clock.advanceMs(PortKeeper::FirstRetryMs);
    QVERIFY(keeper.isRetrying());
    QCOMPARE(lost.count(), 1);
    QCOMPARE(returned.count(), 0);

    PseudoTerminal second;
    QVERIFY(plugIn(second));
    clock.advanceMs(PortKeeper::FirstRetryMs);
    QVERIFY2(port->isOpen(), "a try within the first five minutes");
    QCOMPARE(returned.count(), 1);
    QVERIFY(!keeper.isRetrying());

    // Frames from the new device reach the same port object, so the station link goes on.
    QSignalSpy readable(port.get(), &SerialPort::readyRead);
    QVERIFY(second.write("\x8f"));
    QTRY_VERIFY(readable.count() > 0);

    // After five minutes down, a try comes every 60 s.
    second.close();
    QFile::remove(link);
    QTRY_COMPARE(lost.count(), 2);
    clock.advanceMs(PortKeeper::FirstRetryPhaseMs);
    PseudoTerminal third;
    QVERIFY(plugIn(third));
    clock.advanceMs(PortKeeper::FirstRetryMs);
    QVERIFY2(!port->isOpen(), "no try 10 s after the last one once five minutes have passed");
    clock.advanceMs(PortKeeper::LaterRetryMs);
    QVERIFY(port->isOpen());
    QCOMPARE(returned.count(), 2);
}

QTEST_GUILESS_MAIN(TstPortKeeper)
#include "tst_portkeeper.moc"
