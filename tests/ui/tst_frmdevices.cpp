// The fax device window: detection on opening, the captions it gives, and "FaxConfig.cfg".
#include "fakefaxdevice.h"
#include "fax/faxconfig.h"
#include "ui/frmdevices.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QList<QRadioButton *> options(const FrmDevices &window)
{
    QList<QRadioButton *> out(4);
    for (QRadioButton *b : window.findChildren<QRadioButton *>(QStringLiteral("Option1")))
        out[b->property("index").toInt()] = b;
    return out;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
}

} // namespace

class TstFrmDevices : public QObject
{
    Q_OBJECT
private slots:
    void init() { QVERIFY(m_dir.isValid()); }
    void detectsOnOpening();
    void opensOnStoredDevice_data();
    void opensOnStoredDevice();
    void saves_data();
    void saves();

private:
    QTemporaryDir m_dir;
};

void TstFrmDevices::detectsOnOpening()
{
    FakeFaxDevice fax;
    fax.devices = {"Modem A (/dev/ttyS0)", "Modem B (/dev/ttyUSB0)"};
    FrmDevices window(fax, m_dir.path());
    QCOMPARE(window.windowTitle(), QStringLiteral("Corvane Fax Device Configuration"));
    window.show();
    QCOMPARE(fax.detections, 1);
    auto *status = window.findChild<QLabel *>(QStringLiteral("lblStatus"));
    QCOMPARE(status->text(), QStringLiteral("Configuring...Please Wait"));
    const QRect screen = window.screen()->geometry();
    QVERIFY(qAbs(window.frameGeometry().center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(window.frameGeometry().center().y() - screen.center().y()) <= 1);

    fax.finishDetection();
    QCOMPARE(status->text(), QString());
    const QList<QRadioButton *> buttons = options(window);
    QCOMPARE(buttons[0]->text(), QStringLiteral("Modem A (/dev/ttyS0)   "));
    QCOMPARE(buttons[1]->text(), QStringLiteral("Modem B (/dev/ttyUSB0)   "));
    QCOMPARE(buttons[2]->text(), QString());

    // "&Auto Configure" asks again, and the new list replaces the captions.
    fax.devices = {"Modem C (/dev/ttyACM0)"};
    window.findChild<QPushButton *>(QStringLiteral("cmdAutoConfigure"))->click();
    QCOMPARE(fax.detections, 2);
    fax.finishDetection();
    QCOMPARE(buttons[0]->text(), QStringLiteral("Modem C (/dev/ttyACM0)   "));
}

void TstFrmDevices::opensOnStoredDevice_data()
{
    QTest::addColumn<QByteArray>("file"); // "(none)": no file
    QTest::addColumn<int>("selected");    // -1: nothing selected
    QTest::newRow("device 2") << QByteArray("2\r\n") << 2;
    QTest::newRow("empty line selects device 0") << QByteArray("\r\n") << 0;
    QTest::newRow("index above 3") << QByteArray("4\r\n") << -1;
    QTest::newRow("no file") << QByteArray("(none)") << -1;
}

void TstFrmDevices::opensOnStoredDevice()
{
    QFETCH(QByteArray, file);
    QFETCH(int, selected);
    QFile::remove(faxConfigPath(m_dir.path()));
    if (file != "(none)")
        writeFile(faxConfigPath(m_dir.path()), file);
    FakeFaxDevice fax;
    FrmDevices window(fax, m_dir.path());
    window.show();
    fax.finishDetection();
    QCOMPARE(window.selectedIndex(), selected);
}

void TstFrmDevices::saves_data()
{
    QTest::addColumn<int>("choose"); // -1: none
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("device 2") << 2 << QByteArray("2\r\n");
    QTest::newRow("device 3") << 3 << QByteArray("3\r\n");
    QTest::newRow("no device chosen") << -1 << QByteArray("\r\n");
}

void TstFrmDevices::saves()
{
    QFETCH(int, choose);
    QFETCH(QByteArray, file);
    writeFile(faxConfigPath(m_dir.path()), "1\r\n9\r\n"); // replaced whole
    FakeFaxDevice fax;
    FrmDevices window(fax, m_dir.path());
    if (choose >= 0)
        options(window)[choose]->click();
    window.findChild<QPushButton *>(QStringLiteral("cmdSave"))->click();
    QCOMPARE(readFile(faxConfigPath(m_dir.path())), file);
    QCOMPARE(fax.deviceIndex, qMax(choose, 0));
}

QTEST_MAIN(TstFrmDevices)
#include "tst_frmdevices.moc"
