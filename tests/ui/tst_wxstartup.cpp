// Start-up over the engine: the configuration file (or its absence) decides the captions and
// the gauge panel before any reading arrives, and a saved setup reapplies them.
#include "app/runtime.h"
#include "config/configfile.h"
#include "fakes/manualclock.h"
#include "ui/wx.h"

#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

class TstWxStartup : public QObject
{
    Q_OBJECT
private slots:
    void captionsAndPanelFromFile_data();
    void captionsAndPanelFromFile();
};

void TstWxStartup::captionsAndPanelFromFile_data()
{
    QTest::addColumn<int>("fileUnits"); // -1: no configuration file
    QTest::addColumn<QString>("pressureUnit");
    QTest::addColumn<bool>("panel");
    QTest::newRow("no file") << -1 << "in HG" << true;
    QTest::newRow("English file") << 0 << "in HG" << true;
    QTest::newRow("Metric file") << 1 << "MBar" << false;
}

void TstWxStartup::captionsAndPanelFromFile()
{
    QFETCH(int, fileUnits);
    QFETCH(QString, pressureUnit);
    QFETCH(bool, panel);
    QTemporaryDir home;
    QVERIFY(home.isValid());
    qputenv("CORVANE_HOME", home.path().toLocal8Bit());
    if (fileUnits >= 0) {
        Configuration saved;
        saved.DisplayUnits = qint16(fileUnits);
        QVERIFY(saveConfiguration(configurationFilePath(), saved).ok());
    }

    ManualClock clock;
    Runtime runtime(clock, RunOptions{});
    Wx wx(runtime.record(), runtime.status(),
          [&runtime]() -> const Configuration & { return runtime.configuration(); });
    connect(&runtime, &Runtime::configurationChanged, &wx, &Wx::ApplyUnitCaptions);
    runtime.startUp();
    wx.show();

    QCOMPARE(wx.findChild<QLabel *>("Label28")->text(), pressureUnit);
    QCOMPARE(wx.findChild<QWidget *>("GaugePanel")->isVisible(), panel);
    QCOMPARE(wx.action("m_Gauges")->isEnabled(), panel);
    for (QLineEdit *box : wx.findChildren<QLineEdit *>()) {
        if (box->objectName().startsWith("Text"))
            QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
    }

    // The setup's Save reapplies the rule at once.
    Configuration flipped = runtime.configuration();
    flipped.DisplayUnits = panel ? 1 : 0;
    runtime.setConfiguration(flipped);
    QCOMPARE(wx.findChild<QWidget *>("GaugePanel")->isVisible(), !panel);
    runtime.shutDown();
    qunsetenv("CORVANE_HOME");
}

QTEST_MAIN(TstWxStartup)
#include "tst_wxstartup.moc"
