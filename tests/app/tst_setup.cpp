// The setup dialog over the running engine: what "Save" writes and applies, what it refuses,
// and the ports it moves.
#include "acquisition/pseudoterminal.h"
#include "acquisition/readingsrecord.h"
#include "acquisition/serialport.h"
#include "app/runtime.h"
#include "app/services.h"
#include "app/setupcontroller.h"
#include "config/configfile.h"
#include "fakes/consoleframes.h"
#include "fakes/filebytes.h"
#include "fakes/manualclock.h"
#include "sharing/sharingservices.h"
#include "archive/archive.h"
#include "config/sidesettings.h"
#include "ui/wx.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(Configuration)

namespace {

const QDateTime kStart(QDate(2026, 4, 30), QTime(9, 0, 0));

// Fields set in the forms a file can hold: pager numbers as bare numbers and as texts, a
// fraction, blanks kept in pager cells, a graph time alone.
Configuration savedSetup()
{
    Configuration c;
    c.StationPort = 1;
    c.RemoteHost = QStringLiteral("ftp.example.org");
    c.RemotePort = QStringLiteral("21");
    c.Password = QStringLiteral("s3cret");
    c.UploadInterval = 15;
    c.AutoDisconnect = true;
    c.LoggingInterval = 5;
    c.DailyPageTemplate = QStringLiteral("daily.txt");
    for (int i = 0; i < 5; ++i) {
        PagerRow &r = c.Pagers[i];
        r.PagerNumber = i % 2 ? QVariant(5550100 + i) : QVariant(QStringLiteral("555-01%1").arg(i));
        r.CompanyNumber = QStringLiteral("1,800,555,0199");
        r.Enabled = i % 2;
        r.PageType = i + 2;
        r.AlarmType = i % 3;
        r.AlarmSetting = i == 4 ? QVariant(29.5) : QVariant(QStringLiteral(" 90 "));
    }
    c.PagerPort = 2;
    c.FtpPort = 4;
    c.Graph = {1,
               0,
               QStringLiteral(" Weather "),
               QStringLiteral("/g"),
               QDateTime(QDate(1899, 12, 30), QTime(23, 30)),
               1};
    return c;
}

// Values no control can show as they are: an untouched save must keep them.
Configuration oddValues()
{
    Configuration c;
    c.DisplayUnits = 2;
    c.Pagers[0].Enabled = 2;
    c.Pagers[0].PageType = 8;
    c.Pagers[1].AlarmType = -1;
    c.PagerPort = QStringLiteral("COM2");
    c.Graph[GraphStyle] = 1.5;
    c.Graph[GraphUploadTime] = QDateTime(QDate(2001, 2, 3), QTime(0, 0));
    return c;
}

// The engine with its services, the main window and the setup, in a program directory of
// their own. The serial ports the engine makes are real ones, kept in the order made: the
// station port first, then the pager port.
struct Rig
{
    QTemporaryDir home;
    ManualClock clock{kStart};
    QList<SerialPort *> ports;
    std::unique_ptr<Runtime> runtime;
    std::unique_ptr<Services> services;
    std::unique_ptr<Wx> wx;
    std::unique_ptr<SetupController> setup;

    Rig() { qputenv("CORVANE_HOME", QFile::encodeName(home.path())); }
    ~Rig()
    {
        setup.reset();
        wx.reset();
        services.reset();
        runtime.reset();
        qunsetenv("CORVANE_HOME");
    }
    QString file() const { return configurationFilePath(); }

    // Ports 1-8 are the given devices, by default files that do not exist.
    void start(QStringList devices = {})
    {
        QByteArray map;
        for (int k = 1; k <= 8; ++k)
            map += QStringLiteral("%1=%2\n")
                       .arg(k)
                       .arg(devices.value(k - 1, home.filePath(QStringLiteral("none%1").arg(k))))
                       .toUtf8();
        writeBytes(home.filePath(QStringLiteral("Ports.cfg")), map);
        DeviceFactories d = realDevices();
        d.serialPort = [this] {
            std::unique_ptr<SerialPort> port = createSerialPort();
            ports << port.get();
            return port;
        };
        runtime = std::make_unique<Runtime>(clock, RunOptions{}, d);
        services = std::make_unique<Services>(*runtime, RunOptions{});
        Runtime *r = runtime.get();
        wx = std::make_unique<Wx>(r->record(), r->status(),
                                  [r]() -> const Configuration & { return r->configuration(); });
        QObject::connect(r, &Runtime::configurationChanged, wx.get(), &Wx::ApplyUnitCaptions);
        setup = std::make_unique<SetupController>(*r, *wx);
        runtime->startUp();
        wx->show();
    }
    NewSetup &dialog()
    {
        if (!setup->dialog() || !setup->dialog()->isVisible())
            setup->show();
        return *setup->dialog();
    }
    template <typename T> T *control(const char *name, int index = -1)
    {
        return qobject_cast<T *>(index < 0 ? dialog().findChild<QWidget *>(name)
                                           : dialog().element(QString::fromLatin1(name), index));
    }
    void press(const char *button) { control<QPushButton>(button)->click(); }
    QString message()
    {
        auto *box = dialog().findChild<QMessageBox *>(QStringLiteral("SetupMessage"));
        return box && box->isVisible() ? box->text() : QString();
    }
};

} // namespace

class TstSetup : public QObject
{
    Q_OBJECT
private slots:
    void untouchedSaveRewritesTheFile_data();
    void untouchedSaveRewritesTheFile();
    void exitDropsEditsAndReopeningShowsTheFile();
    void refusedValueWritesAndAppliesNothing_data();
    void refusedValueWritesAndAppliesNothing();
    void unwritableFileStillApplies();
    void savedPortsMoveToTheirNewDevices();
    void firstStartOffersTheSetupOnce_data();
    void firstStartOffersTheSetupOnce();
    void sharingTabWritesCorvaneConfAndApplies();
};

void TstSetup::untouchedSaveRewritesTheFile_data()
{
    QTest::addColumn<Configuration>("config");
    QTest::newRow("fields set") << savedSetup();
    QTest::newRow("nothing set") << Configuration();
    QTest::newRow("odd values") << oddValues();
}

void TstSetup::untouchedSaveRewritesTheFile()
{
    QFETCH(Configuration, config);
    Rig rig;
    QVERIFY(saveConfiguration(rig.file(), config).ok());
    const QByteArray before = readBytes(rig.file());
    rig.start();
    rig.press("Command1");
    QCOMPARE(readBytes(rig.file()), before);
    QCOMPARE(rig.message(), QString());
    QVERIFY(rig.dialog().isVisible()); // the dialog stays open
}

void TstSetup::exitDropsEditsAndReopeningShowsTheFile()
{
    Rig rig;
    QVERIFY(saveConfiguration(rig.file(), savedSetup()).ok());
    const QByteArray before = readBytes(rig.file());
    rig.start();
    rig.control<QLineEdit>("Text1")->setText(QStringLiteral("typed.example.org"));
    rig.control<QCheckBox>("PagerEnabled", 1)->click();
    rig.control<QRadioButton>("DisplayUnits", 1)->click();
    rig.press("Command2");
    QVERIFY(!rig.setup->dialog()->isVisible());
    QCOMPARE(readBytes(rig.file()), before);
    QCOMPARE(rig.runtime->configuration().RemoteHost, QStringLiteral("ftp.example.org"));
    QCOMPARE(rig.wx->findChild<QLabel *>("Label28")->text(), QStringLiteral("in HG"));

    QCOMPARE(rig.control<QLineEdit>("Text1")->text(), QStringLiteral("ftp.example.org"));
    QVERIFY(rig.control<QCheckBox>("PagerEnabled", 1)->isChecked());
    QVERIFY(rig.control<QRadioButton>("DisplayUnits", 0)->isChecked());
    QCOMPARE(rig.control<QTabWidget>("TabStrip1")->currentIndex(), int(NewSetup::FtpTab));
}

void TstSetup::refusedValueWritesAndAppliesNothing_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected"); // the message, from the caption on
    QTest::addColumn<int>("tab");
    QTest::newRow("double quote in a single box")
        << "Text1" << -1 << "ftp.\"example\".org"
        << "\"Remote Host\" contains a double quote." << int(NewSetup::FtpTab);
    QTest::newRow("line break in a pager number")
        << "PagNumText" << 1 << "555\n0101"
        << "\"Pager Number of pager 2\" contains a line break." << int(NewSetup::PagingTab);
    QTest::newRow("character beyond 8 bits in the graph header")
        << "GHtext" << -1 << "Wetter \u20ac"
        << "\"Graph Header\" contains the character \u20ac" << int(NewSetup::GraphTab);
}

void TstSetup::refusedValueWritesAndAppliesNothing()
{
    QFETCH(QString, control);
    QFETCH(int, index);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QFETCH(int, tab);
    Rig rig;
    QVERIFY(saveConfiguration(rig.file(), savedSetup()).ok());
    const QByteArray before = readBytes(rig.file());
    rig.start();
    rig.control<QLineEdit>("Text15")->setText(QStringLiteral("60"));
    rig.control<QRadioButton>("DisplayUnits", 1)->click();
    auto *box = rig.control<QLineEdit>(control.toLatin1().constData(), index);
    box->setText(typed);
    QCOMPARE(box->text(), typed);
    rig.press("Command1");

    QVERIFY2(rig.message().startsWith(expected), qPrintable(rig.message()));
    QVERIFY(rig.message().endsWith(
        QStringLiteral("Nothing was saved; change it and press Save again.")));
    QCOMPARE(rig.control<QTabWidget>("TabStrip1")->currentIndex(), tab);
    QCOMPARE(rig.dialog().focusWidget(), box);
    QCOMPARE(readBytes(rig.file()), before);
    QCOMPARE(rig.runtime->configuration().UploadInterval, qint16(15));
    QCOMPARE(rig.wx->findChild<QLabel *>("Label28")->text(), QStringLiteral("in HG"));

    // Corrected, the same save goes through with the other edits kept.
    box->setText(QStringLiteral("fixed"));
    rig.press("Command1");
    QCOMPARE(rig.runtime->configuration().UploadInterval, qint16(60));
    QVERIFY(readBytes(rig.file()) != before);
}

void TstSetup::unwritableFileStillApplies()
{
    Rig rig;
    QVERIFY(saveConfiguration(rig.file(), savedSetup()).ok());
    rig.start();
    // A directory where the file should be: no user, not even root, can write it.
    QVERIFY(QFile::remove(rig.file()));
    QVERIFY(QDir().mkdir(rig.file()));
    rig.control<QLineEdit>("Text15")->setText(QStringLiteral("60"));
    rig.control<QRadioButton>("DisplayUnits", 1)->click();
    rig.press("Command1");

    const QString prefix = QStringLiteral("The settings could not be saved to %1: ")
                               .arg(QDir::toNativeSeparators(rig.file()));
    const QString suffix = QStringLiteral(". They apply until corvane is closed.");
    const QString message = rig.message();
    QVERIFY2(message.startsWith(prefix) && message.endsWith(suffix), qPrintable(message));
    QVERIFY2(message.size() > prefix.size() + suffix.size(), "the reason is given");
    QCOMPARE(rig.runtime->configuration().UploadInterval, qint16(60));
    QCOMPARE(rig.wx->findChild<QLabel *>("Label28")->text(), QStringLiteral("MBar"));
}

void TstSetup::savedPortsMoveToTheirNewDevices()
{
    PseudoTerminal first, second, modem;
    QVERIFY(first.open() && second.open() && modem.open());
    Rig rig;
    Configuration c = savedSetup();
    c.StationPort = 1;
    c.PagerPort = QVariant();
    QVERIFY(saveConfiguration(rig.file(), c).ok());
    rig.start({first.slavePath(), second.slavePath(), modem.slavePath()});
    SerialPort *station = rig.ports.at(0);
    SerialPort *pager = rig.ports.at(1);
    QVERIFY(station->isOpen());
    QCOMPARE(station->devicePath(), first.slavePath());
    QVERIFY(!pager->isOpen());

    // Beside each button, the device its port stands for here.
    for (QLabel *device : rig.dialog().findChildren<QLabel *>("PortDevice")) {
        if (device->property("group") == "Option1" && device->property("index") == 1)
            QCOMPARE(device->text(), second.slavePath());
    }
    rig.control<QRadioButton>("Option1", 1)->click();
    rig.control<QRadioButton>("Option3", 2)->click();
    rig.press("Command1");
    QCOMPARE(rig.message(), QString());
    QVERIFY(station->isOpen());
    QCOMPARE(station->devicePath(), second.slavePath());
    QVERIFY(pager->isOpen());
    QCOMPARE(pager->devicePath(), modem.slavePath());

    // Frames now come from the new port only: the old one's temperature never arrives.
    QVERIFY(first.write(checkedFrame(0x9F, 34, {{16, 0x17}, {17, 0x02}})));
    QVERIFY(second.write(checkedFrame(0x8F, 35, {{20, 0x45}})));
    ReadingsRecord &record = rig.runtime->record();
    QTRY_COMPARE(record.text("OutdoorHumidity"), QStringLiteral("45"));
    QVERIFY(!record.has("OutdoorTemperature"));
}

void TstSetup::firstStartOffersTheSetupOnce_data()
{
    QTest::addColumn<bool>("fileThere");
    QTest::newRow("first start") << false;
    QTest::newRow("configured") << true;
}

void TstSetup::firstStartOffersTheSetupOnce()
{
    QFETCH(bool, fileThere);
    Rig rig;
    if (fileThere)
        QVERIFY(saveConfiguration(rig.file(), savedSetup()).ok());
    rig.start();
    rig.setup->offerOnFirstStart();
    QVERIFY(!rig.setup->dialog()); // not before the main window is up
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCOMPARE(rig.setup->dialog() && rig.setup->dialog()->isVisible(), !fileThere);
    if (fileThere)
        return;
    QCOMPARE(rig.control<QTabWidget>("TabStrip1")->currentIndex(), int(NewSetup::FtpTab));
    QVERIFY2(!QFile::exists(rig.file()), "nothing is written before Save");
    rig.press("Command2");
    QVERIFY(!QFile::exists(rig.file()));
}


void TstSetup::sharingTabWritesCorvaneConfAndApplies()
{
    Rig rig;
    QVERIFY(saveConfiguration(rig.file(), savedSetup()).ok());
    const QString conf = rig.home.filePath(QStringLiteral("corvane.conf"));
    writeBytes(conf, "[ftps]\n; trust\npinned_key=\n");
    rig.start();
    rig.press("Command1"); // nothing changed on the tab: corvane.conf stays as it was
    QCOMPARE(readBytes(conf), QByteArray("[ftps]\n; trust\npinned_key=\n"));

    rig.control<QCheckBox>("CwopEnabled")->setChecked(true);
    rig.control<QLineEdit>("CwopCallsign")->setText(QStringLiteral("ew1234"));
    rig.press("Command1");
    const QByteArray written = readBytes(conf);
    QVERIFY(written.startsWith("[ftps]\n; trust\npinned_key=\n"));
    QVERIFY(written.contains("[cwop]\nenabled=true\n"));
    QVERIFY(written.contains("callsign=\"EW1234\"\n"));
    // Applied at once: the service is on, the others stay off.
    const SharingSettings &applied = rig.services->sharing().settings();
    QVERIFY(applied.cwop.enabled && !applied.mqtt.enabled && !applied.wunderground.enabled);
    QCOMPARE(applied.cwop.callsign, QStringLiteral("EW1234"));

    // The archive's fields on the same tab: written beside the rest, and applied.
    rig.control<QCheckBox>("archiveEnabled")->setChecked(true);
    // Nothing listens on port 1: the worker's first attempt fails at once.
    rig.control<QLineEdit>("archiveHost")->setText(QStringLiteral("127.0.0.1"));
    rig.control<QSpinBox>("archivePort")->setValue(1);
    rig.press("Command1");
    const ArchiveSettings archive = readSideSettings(conf).archive;
    QVERIFY(archive.enabled);
    QCOMPARE(archive.port, 1);
    QVERIFY(readSideSettings(conf).sharing.cwop.enabled);
    QCOMPARE(rig.services->archive().settings().port, 1);
}

QTEST_MAIN(TstSetup)
#include "tst_setup.moc"
