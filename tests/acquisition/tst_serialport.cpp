// Port numbers to devices through "Ports.cfg", and the QSerialPort adapter on a
// pseudo-terminal: both directions, other settings, a device that goes away.
#include "acquisition/pseudoterminal.h"
#include "acquisition/serialport.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

class TstSerialPort : public QObject
{
    Q_OBJECT
private slots:
    void devicePaths_data();
    void devicePaths();
    void refusedPortsFileMapsNothing_data();
    void refusedPortsFileMapsNothing();
    void bothDirectionsWithModemSettings();
    void lostWhenTheDeviceHangsUp();
    void openFailsWithAReason();
};

void TstSerialPort::devicePaths_data()
{
    QTest::addColumn<QString>("portsCfg"); // "-" for no file
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("device");

    QTest::newRow("no file, port 1") << "-" << 1 << "/dev/ttyS0";
    QTest::newRow("no file, port 8") << "-" << 8 << "/dev/ttyS7";
    QTest::newRow("port 0 has no device") << "-" << 0 << "";
    QTest::newRow("mapped") << "1=/dev/ttyUSB0\n" << 1 << "/dev/ttyUSB0";
    QTest::newRow("other port unmapped") << "1=/dev/ttyUSB0\n" << 2 << "/dev/ttyS1";
    QTest::newRow("blanks and comments") << "# station\n\n  3 = /dev/ttyACM0  \n"
                                         << 3 << "/dev/ttyACM0";
    QTest::newRow("later line wins") << "2=/dev/a\n2=/dev/b\n" << 2 << "/dev/b";
    QTest::newRow("empty path ignored") << "2=\n" << 2 << "/dev/ttyS1";
    QTest::newRow("not a number ignored") << "x=/dev/a\n12=/dev/b\n" << 1 << "/dev/ttyS0";
    QTest::newRow("CRLF lines") << "4=/dev/ttyUSB1\r\n" << 4 << "/dev/ttyUSB1";
}

void TstSerialPort::devicePaths()
{
    QFETCH(QString, portsCfg);
    QFETCH(int, port);
    QFETCH(QString, device);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    if (portsCfg != "-") {
        QFile f(dir.filePath("Ports.cfg"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(portsCfg.toUtf8());
    }
    QCOMPARE(devicePathForPort(port, dir.path()), device);
}

void TstSerialPort::refusedPortsFileMapsNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("why");
    QTest::newRow("FIFO without a writer") << "fifo"
                                           << "not a regular file";
    QTest::newRow("over 1 MiB") << "big"
                                << "larger than 1 MiB";
}

void TstSerialPort::refusedPortsFileMapsNothing()
{
    QFETCH(QString, kind);
    QFETCH(QString, why);
    QTemporaryDir dir;
    const QString path = dir.filePath("Ports.cfg");
    if (kind == "fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("1=/dev/ttyUSB0\n" + QByteArray(1 << 20, '#'));
    }
    alarm(20); // a read that blocks ends the test instead of hanging it
    const PortMap map = readPortMap(dir.path());
    QCOMPARE(map.error, path + ": " + why);
    QVERIFY(map.devices.isEmpty());
    QCOMPARE(devicePathForPort(1, dir.path()), QStringLiteral("/dev/ttyS0"));
    alarm(0);
}

void TstSerialPort::bothDirectionsWithModemSettings()
{
    PseudoTerminal pty;
    QVERIFY(pty.open());
    auto port = createSerialPort();
    port->setDevicePath(pty.slavePath());
    port->setSettings(SerialSettings{1200, 'e', 7, 1});
    QVERIFY2(port->open(), qPrintable(port->errorString()));
    QSignalSpy lost(port.get(), &SerialPort::lost);

    QCOMPARE(port->write("ATZ\r"), qint64(4));
    QByteArray got;
    QTRY_VERIFY(got.append(pty.readAvailable()).size() >= 4);
    QCOMPARE(got, QByteArray("ATZ\r"));

    QVERIFY(pty.write("OK\r\n"));
    QTRY_COMPARE(port->bytesAvailable(), qint64(4));
    QCOMPARE(port->read(2), QByteArray("OK"));
    QCOMPARE(port->read(10), QByteArray("\r\n"));
    QVERIFY(port->isOpen());
    QCOMPARE(lost.count(), 0);
}

void TstSerialPort::lostWhenTheDeviceHangsUp()
{
    PseudoTerminal pty;
    QVERIFY(pty.open());
    auto port = createSerialPort();
    port->setDevicePath(pty.slavePath());
    QVERIFY2(port->open(), qPrintable(port->errorString()));
    QSignalSpy lost(port.get(), &SerialPort::lost);
    pty.close();
    QTRY_COMPARE(lost.count(), 1);
    QVERIFY(!port->isOpen());
}

void TstSerialPort::openFailsWithAReason()
{
    auto port = createSerialPort();
    QVERIFY(!port->open());
    QVERIFY(!port->errorString().isEmpty());
    port->setDevicePath("/dev/corvane-no-such-device");
    QVERIFY(!port->open());
    QVERIFY(!port->errorString().isEmpty());
    QVERIFY(!port->isOpen());
}

QTEST_GUILESS_MAIN(TstSerialPort)
#include "tst_serialport.moc"
