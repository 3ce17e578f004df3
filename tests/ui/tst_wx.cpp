// The main window: start-up state, unit captions with the gauge rule, lamp and count,
// status, forecast box, transfer log, menu commands and the end of the program.
#include "config/unitcaptions.h"
#include "core/transferlog.h"
#include "gauge/quillon1.h"
#include "ui/gauges/ferrickgauge.h"
#include "ui/gauges/tamselgauge.h"
#include "ui/gauges/velmorgauge.h"
#include "ui/transferlogwindow.h"
#include "wxfixture.h"

#include <QDesktopServices>
#include <QMenu>
#include <QMessageBox>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QStatusBar>
#include <QtTest>

namespace {

// Takes the URLs the desktop would open.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls << url; }
};

} // namespace

class TstWx : public QObject
{
    Q_OBJECT
private slots:
    void startsWithoutConfigurationInEnglishWithNoReadings();
    void unitCaptionsFollowDisplayUnits_data();
    void unitCaptionsFollowDisplayUnits();
    void metricHidesGaugePanelAndBack();
    void gaugesItemTogglesPanelAndCheckMark();
    void gaugesTakeTheRecordsEnglishValues_data();
    void gaugesTakeTheRecordsEnglishValues();
    void lampAndCommCount_data();
    void lampAndCommCount();
    void statusBarAndTitleFollowStatusBoard();
    void viewForecastToggles();
    void transferLogShowsNewestReasons();
    void foreignCommandsDisabledUntilWired_data();
    void foreignCommandsDisabledUntilWired();
    void menuCaptions_data();
    void menuCaptions();
    void exitEndsProgram();
    void closingUnloadsWindowsThenEnds();
    void helpMenuAboutAndProgramDirectory();
};

void TstWx::startsWithoutConfigurationInEnglishWithNoReadings()
{
    WxFixture f;
    f.wx->show();
    for (const char *name : {"Text1", "Text10", "Text11", "Text16", "Text18", "Text20", "Text14",
                             "Text15", "Text21", "Text22"}) {
        QLineEdit *box = f.box("Wx", name);
        QVERIFY2(box, qPrintable(name));
        QVERIFY2(box->text().isEmpty(), qPrintable(name));
    }
    QCOMPARE(f.label("Wx", "Label29")->text(), QString("Deg F"));
    QCOMPARE(f.label("Wx", "Label28")->text(), QString("in HG"));
    QVERIFY(f.wx->findChild<QWidget *>("GaugePanel")->isVisible());
    QVERIFY(f.wx->action("m_Gauges")->isChecked());
    QVERIFY(f.wx->action("m_Gauges")->isEnabled());
    // The six detail windows exist from the start, hidden.
    for (const char *name : {"Humidity", "Temperature", "Barometer", "Dewpoint", "Rain", "Wind"}) {
        QVERIFY2(f.wx->detailWindow(name), name);
        QVERIFY2(!f.wx->detailWindow(name)->isVisible(), name);
    }
}

void TstWx::unitCaptionsFollowDisplayUnits_data()
{
    QTest::addColumn<int>("units");
    QTest::newRow("English") << 0;
    QTest::newRow("Metric") << 1;
    QTest::newRow("any nonzero is Metric") << 7;
    QTest::newRow("Metric then English again") << -1; // -1: switch to Metric, then to 0
}

void TstWx::unitCaptionsFollowDisplayUnits()
{
    QFETCH(int, units);
    WxFixture f;
    if (units == -1) {
        f.setUnits(1);
        units = 0;
    }
    f.setUnits(units);
    for (const UnitCaption &c : unitCaptions()) {
        QLabel *label = f.label(c.window, c.label);
        QVERIFY2(label, qPrintable(c.window + "." + c.label));
        QCOMPARE(label->text(), units != 0 ? c.metric : c.english);
    }
    QCOMPARE(f.label("Humidity", "Label4")->text(), QString("%"));
}

void TstWx::metricHidesGaugePanelAndBack()
{
    WxFixture f;
    f.wx->show();
    QWidget *panel = f.wx->findChild<QWidget *>("GaugePanel");
    QAction *gauges = f.wx->action("m_Gauges");
    const int englishHeight = f.wx->height();

    f.setUnits(1);
    QVERIFY(!panel->isVisible());
    QVERIFY(!gauges->isEnabled());
    QVERIFY(!gauges->isChecked());
    QVERIFY(f.wx->height() < englishHeight);

    f.setUnits(0);
    QVERIFY(panel->isVisible());
    QVERIFY(gauges->isEnabled());
    QVERIFY(gauges->isChecked());
    QCOMPARE(f.wx->height(), englishHeight);
}

void TstWx::gaugesItemTogglesPanelAndCheckMark()
{
    WxFixture f;
    f.wx->show();
    QWidget *panel = f.wx->findChild<QWidget *>("GaugePanel");
    const int shownHeight = f.wx->height();
    f.trigger("m_Gauges");
    QVERIFY(!f.wx->action("m_Gauges")->isChecked());
    QVERIFY(!panel->isVisible());
    QVERIFY(f.wx->height() < shownHeight);
    f.trigger("m_Gauges");
    QVERIFY(f.wx->action("m_Gauges")->isChecked());
    QVERIFY(panel->isVisible());
    QCOMPARE(f.wx->height(), shownHeight);
    // Switching units reapplies the rule whatever the item was left at.
    f.trigger("m_Gauges");
    f.setUnits(0);
    QVERIFY(panel->isVisible());
    QVERIFY(f.wx->action("m_Gauges")->isChecked());
}

void TstWx::gaugesTakeTheRecordsEnglishValues_data()
{
    QTest::addColumn<int>("units");
    QTest::newRow("English") << 0;
    QTest::newRow("Metric: panel hidden, dials still follow") << 1;
}

void TstWx::gaugesTakeTheRecordsEnglishValues()
{
    QFETCH(int, units);
    WxFixture f;
    f.setUnits(units);
    auto *ferrick = f.wx->findChild<FerrickGauge *>("Ferrick1");
    auto *tamsel = f.wx->findChild<TamselGauge *>("Tamsel1");
    auto *velmor = f.wx->findChild<VelmorGauge *>("Velmor");
    auto *quillon = f.wx->findChild<Quillon1 *>("Quillon1");
    QVERIFY(ferrick && tamsel && velmor && quillon);

    const QVariant pressureAtStart = quillon->BaroPressure();
    GaugeValues wind;
    wind.gustMph = 23.5;
    wind.gustDirection = 292;
    f.record.applyGroup(SensorGroup::Wind, {}, wind);
    QCOMPARE(tamsel->Value(), 23.5);
    QCOMPARE(velmor->Value(), 292.0);
    QCOMPARE(quillon->BaroPressure(), pressureAtStart); // no barometer frame yet

    GaugeValues rest;
    rest.outdoorTempF = 72.5;
    rest.seaLevelInHg = 29.9213;
    f.record.applyGroup(SensorGroup::Temperature, {}, rest);
    QCOMPARE(ferrick->Value(), 72.5);
    QCOMPARE(quillon->BaroPressure().toDouble(), 29.9213);
    QCOMPARE(tamsel->Value(), 23.5);
}

void TstWx::lampAndCommCount_data()
{
    QTest::addColumn<QList<int>>("colors");
    QTest::addColumn<QColor>("lamp");
    QTest::addColumn<int>("count");
    QTest::newRow("frame being handled") << QList<int>{255} << QColor(Qt::red) << 35;
    QTest::newRow("frame done") << QList<int>{255, 0} << QColor(Qt::black) << 1;
    QTest::newRow("bad checksum leaves red") << QList<int>{255, 0, 255} << QColor(Qt::red) << 0;
    QTest::newRow("blue in BGR form") << QList<int>{0xFF0000} << QColor(Qt::blue) << 4096;
}

void TstWx::lampAndCommCount()
{
    QFETCH(QList<int>, colors);
    QFETCH(QColor, lamp);
    QFETCH(int, count);
    WxFixture f;
    for (int c : colors)
        f.wx->setLampColor(c);
    f.wx->setCommCount(count);
    auto *label = f.wx->findChild<QLabel *>("Label41");
    QVERIFY(label);
    QVERIFY(label->autoFillBackground());
    QCOMPARE(label->palette().color(QPalette::Window), lamp);
    QCOMPARE(f.box("Wx", "CommCount")->text(), QString::number(count));
}

void TstWx::statusBarAndTitleFollowStatusBoard()
{
    WxFixture f;
    auto *bar = f.wx->findChild<QStatusBar *>("StatusBar1");
    QVERIFY(bar);
    f.status.setStatusText("Corvane is connecting to the host computer.");
    QCOMPARE(bar->currentMessage(), QString("Corvane is connecting to the host computer."));
    f.status.setTitle("Logging Data");
    QCOMPARE(f.wx->windowTitle(), QString("Logging Data"));
    // A menu's empty status tip must not blank the transfer status.
    QStatusTipEvent tip{QString()};
    QApplication::sendEvent(f.wx.get(), &tip);
    QCOMPARE(bar->currentMessage(), QString("Corvane is connecting to the host computer."));
    // The scheduler's note has a place of its own in the status bar.
    const QString skip("Corvane : Publishing skipped, the previous pass is still running");
    f.status.setNote(skip);
    auto *note = bar->findChild<QLabel *>("SchedulerNote");
    QVERIFY(note);
    QCOMPARE(note->text(), skip);
    QCOMPARE(bar->currentMessage(), QString("Corvane is connecting to the host computer."));
}

void TstWx::viewForecastToggles()
{
    WxFixture f;
    f.wx->show();
    auto *forecast = f.wx->findChild<QPlainTextEdit *>("Forecast");
    QVERIFY(forecast);
    QVERIFY(forecast->isReadOnly());
    QVERIFY(!forecast->isVisible());
    f.wx->wireAction("m_vforecast", [&] { f.wx->ToggleForecast(); });
    f.wx->setForecastText("Partly cloudy.\nHigh 72.");
    f.trigger("m_vforecast");
    QVERIFY(forecast->isVisible());
    QCOMPARE(forecast->toPlainText(), QString("Partly cloudy.\nHigh 72."));
    f.trigger("m_vforecast");
    QVERIFY(!forecast->isVisible());
}

void TstWx::transferLogShowsNewestReasons()
{
    WxFixture f;
    QAction *item = f.wx->action("m_transferlog");
    QVERIFY(!item->isEnabled()); // nothing to show without a log
    TransferLog log(2);
    f.wx->followTransferLog(log);
    QVERIFY(item->isEnabled());
    const QDateTime at(QDate(2026, 1, 5), QTime(21, 14, 2));
    log.add({at, "PUT a.html a.html to ftp://h:21: Login denied", TransferLogEntry::Failure});
    log.add({at.addSecs(60), "GET /fc from http://h:80: Timeout", TransferLogEntry::Failure});
    QCOMPARE(f.wx->statusBar()->toolTip(),
             QString("1/5/2026 9:15:02 PM  GET /fc from http://h:80: Timeout"));
    const QString status = f.wx->statusBar()->currentMessage();

    f.trigger("m_transferlog");
    QVERIFY(f.wx->transferLogWindow()->isVisible());
    log.add({at.addSecs(120), "Corvane recorded the host key of h.", TransferLogEntry::Note});
    // The newest two, oldest first; the status text is left to the jobs.
    QCOMPARE(
        f.wx->transferLogWindow()->findChild<QPlainTextEdit *>("TransferLogText")->toPlainText(),
        QString("1/5/2026 9:15:02 PM  GET /fc from http://h:80: Timeout\n"
                "1/5/2026 9:16:02 PM  Corvane recorded the host key of h."));
    QCOMPARE(f.wx->statusBar()->currentMessage(), status);
}

void TstWx::foreignCommandsDisabledUntilWired_data()
{
    QTest::addColumn<QString>("name");
    for (const char *n : {"m_UpPage", "m_generateforecast", "m_vforecast", "m_dialconnection",
                          "m_hangupconnection", "m_configuration", "m_graphing"})
        QTest::newRow(n) << QString(n);
}

void TstWx::foreignCommandsDisabledUntilWired()
{
    QFETCH(QString, name);
    WxFixture f;
    QAction *a = f.wx->action(name);
    QVERIFY(a);
    QVERIFY(!a->isEnabled());
    int runs = 0;
    f.wx->wireAction(name, [&] { ++runs; });
    QVERIFY(a->isEnabled());
    a->trigger();
    QCOMPARE(runs, 1);
}

void TstWx::menuCaptions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("menu"); // empty: an item of the menu bar itself
    const char *rows[][3] = {
        {"m_UpPage", "Upload Web Page Now", "File"},
        {"m_generateforecast", "Generate Forecast", "File"},
        {"m_vforecast", "View Forecast", "File"},
        {"m_transferlog", "Transfer Log", "File"},
        {"m_dialconnection", "Dial Connection", "File"},
        {"m_hangupconnection", "Hangup Connection", "File"},
        {"m_exit", "E&xit", "File"},
        {"m_configuration", "Configuration", "Setup"},
        {"m_Gauges", "Gauges", "Setup"},
        {"m_humidity", "Humidity", "Extended Data"},
        {"m_temperature", "Temperature", "Extended Data"},
        {"m_barometer", "Barometer", "Extended Data"},
        {"m_dewpoint", "Dewpoint", "Extended Data"},
        {"m_rain", "Rain", "Extended Data"},
        {"m_wind", "Wind", "Extended Data"},
        {"m_graphing", "Graphing", ""},
        {"m_preview", "Preview HTML", ""},
        {"m_about", "About corvane", "Help"},
        {"m_programdirectory", "Open Program Directory", "Help"},
    };
    for (const auto &r : rows)
        QTest::newRow(r[0]) << QString(r[0]) << QString(r[1]) << QString(r[2]);
}

void TstWx::menuCaptions()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, menu);
    WxFixture f;
    QAction *a = f.wx->action(name);
    QVERIFY(a);
    QCOMPARE(a->text(), caption);
    QCOMPARE(f.wx->findChild<QAction *>(name), a);
    QAction *holder = nullptr;
    for (QAction *top : f.wx->menuBar()->actions()) {
        if (top == a || (top->menu() && top->menu()->actions().contains(a)))
            holder = top;
    }
    QVERIFY(holder);
    QCOMPARE(holder == a ? QString() : holder->text(), menu);
}

void TstWx::exitEndsProgram()
{
    WxFixture f;
    QSignalSpy ended(f.wx.get(), &Wx::endProgram);
    f.trigger("m_exit");
    QCOMPARE(ended.count(), 1);
}

void TstWx::closingUnloadsWindowsThenEnds()
{
    WxFixture f;
    f.wx->show();
    f.trigger("m_wind");
    QPointer<QWidget> wind = f.wx->detailWindow("Wind");
    QVERIFY(wind && wind->isVisible());
    bool unloadedFirst = false;
    QObject::connect(f.wx.get(), &Wx::endProgram, [&] { unloadedFirst = wind.isNull(); });
    QSignalSpy ended(f.wx.get(), &Wx::endProgram);
    QVERIFY(f.wx->close());
    QCOMPARE(ended.count(), 1);
    QVERIFY(unloadedFirst);
    QVERIFY(!f.wx->detailWindow("Humidity"));
}

// The About box opens without blocking the caller, once however often it is asked for, and
// names the version and the program directory; the folder goes to the desktop as a file URL.
void TstWx::helpMenuAboutAndProgramDirectory()
{
    QTemporaryDir home;
    QVERIFY(home.isValid());
    const QString dir = home.path() + "/with <angle> & space";
    qputenv("CORVANE_HOME", dir.toLocal8Bit());
    WxFixture f;
    f.wx->show();
    f.trigger("m_about");
    f.trigger("m_about");
    const auto boxes = f.wx->findChildren<QMessageBox *>("AboutBox");
    QCOMPARE(boxes.size(), 1);
    QVERIFY(boxes.first()->isVisible());
    const QString text = boxes.first()->text();
    QVERIFY2(text.contains("corvane " CORVANE_VERSION), qPrintable(text));
    QVERIFY2(text.contains("General Public License"), qPrintable(text));
    QVERIFY2(text.contains(dir.toHtmlEscaped()), qPrintable(text));
    boxes.first()->accept();
    QTRY_VERIFY(f.wx->findChildren<QMessageBox *>("AboutBox").isEmpty());

    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "open");
    f.trigger("m_programdirectory");
    QDesktopServices::unsetUrlHandler("file");
    QCOMPARE(catcher.urls, QList<QUrl>{QUrl::fromLocalFile(dir)});
    QVERIFY(QFileInfo(dir).isDir());
    qunsetenv("CORVANE_HOME");
}

QTEST_MAIN(TstWx)
#include "tst_wx.moc"
