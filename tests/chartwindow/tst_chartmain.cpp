// The chart window: data source and table choice, the date/time search, series in two groups,
// "&Math" with its questions, and a logging pass into the month the window shows.
#include "acquisition/readingsrecord.h"
#include "charting/chart2d.h"
#include "chartwindow/chartwindowfixture.h"
#include "core/statusboard.h"
#include "logging/loggingpass.h"
#include "logging/logwriter.h"
#include "logging/monthdatabase.h"
#include "logging/sqlitefile.h"
#include "ui/chartmain.h"
#include "ui/selectseries.h"
#include "ui/waitform.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kNoDateField = QStringLiteral(
    "Corvane was unable to find a Date/Time field for the X Axis, Please select manually");

} // namespace

class TestChartMain : public QObject
{
    Q_OBJECT
    QTemporaryDir m_home;

private slots:
    // The file dialog starts in the program directory.
    void initTestCase() { qputenv("CORVANE_HOME", QFile::encodeName(m_home.path())); }

    void dataSource()
    {
        QTemporaryDir dir;
        const QString path = makeFile(dir, "JAN2026.MDB", "Date_Time, Temperature, Humidity");
        QFile junk(dir.filePath("FEB2026.MDB"));
        QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("not a database") > 0);
        junk.close();

        Window w;
        QVERIFY(w.find<QWidget>("List5")->isVisibleTo(&w.chart));
        QVERIFY(!w.find<QWidget>("List6")->isVisibleTo(&w.chart));
        w.open(path);
        QCOMPARE(w.find<QLineEdit>("Text1")->text(), path);
        QCOMPARE(w.items("List1"), QStringList({"A", "B"}));
        QCOMPARE(w.find<QComboBox>("List1")->currentText(), QStringLiteral("B"));
        QCOMPARE(w.items("list2"), QStringList({"Date_Time", "Temperature", "Humidity"}));
        QCOMPARE(w.items("list4"), w.items("list2"));
        QCOMPARE(w.find<QComboBox>("list3")->currentIndex(), 0);
        QCOMPARE(w.find<QLineEdit>("DT")->text(), QStringLiteral("Date_Time"));
        QCOMPARE(w.chart.selectSeries()->fieldList()->count(), 3);
        w.choose("list2", "Temperature");
        w.waitShown();

        // A cancel and a file that is no database leave lists and chart as they were.
        w.open(QString());
        w.open(junk.fileName());
        QCOMPARE(w.dialogs.asked.size(), 1);
        QVERIFY(w.dialogs.asked[0].contains(junk.fileName()));
        QCOMPARE(w.find<QLineEdit>("Text1")->text(), path);
        QCOMPARE(w.items("List1"), QStringList({"A", "B"}));
        QCOMPARE(w.items("list2").size(), 3);
        QCOMPARE(w.chart.chart()->boundFields(1), QStringList({"Temperature"}));
    }

    void dateTimeSearch_data()
    {
        QTest::addColumn<QString>("columns");
        QTest::addColumn<int>("xField");
        QTest::addColumn<bool>("told");
        QTest::newRow("first match") << "Date, Time, Temperature" << 0 << false;
        QTest::newRow("Update is no date") << "Temperature, \"Update\", UpdateTime" << 2 << false;
        QTest::newRow("upper case") << "Temperature, \"READ DATE\"" << 1 << false;
        QTest::newRow("none: the last entry") << "Temperature, \"Update\", Humidity" << 2 << true;
    }
    void dateTimeSearch()
    {
        QFETCH(QString, columns);
        QFETCH(int, xField);
        QFETCH(bool, told);
        QTemporaryDir dir;
        Window w;
        w.open(makeFile(dir, "JAN2026.MDB", columns));
        QCOMPARE(w.find<QComboBox>("list3")->currentIndex(), xField);
        QCOMPARE(w.chart.session().xFieldIndex(), told ? -1 : xField);
        QCOMPARE(w.dialogs.asked, told ? QStringList{kNoDateField} : QStringList());
    }

    void oneTableIsNotChosen()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("JAN2026.MDB");
        SqliteFile db;
        QVERIFY(db.open(path, SqliteFile::Mode::Create).ok());
        QVERIFY(db.exec("CREATE TABLE \"Outdoor Data\" (Date_Time)").ok());
        QVERIFY(db.exec("CREATE TABLE \"MSysACEs\" (x)").ok());
        db.close();
        Window w;
        w.open(path);
        QCOMPARE(w.items("List1"), QStringList({"Outdoor Data"}));
        QCOMPARE(w.find<QComboBox>("List1")->currentIndex(), -1);
        QVERIFY(w.items("list2").isEmpty());
    }

    void seriesInGroups()
    {
        QTemporaryDir dir;
        Window w;
        w.open(makeFile(dir, "JAN2026.MDB", "Date_Time, Temperature, Humidity, Dewpoint"));
        Chart2D *chart = w.chart.chart();

        for (const char *f : {"Temperature", "Humidity", "Dewpoint"})
            w.choose("list4", f);
        QCOMPARE(chart->boundFieldCount(1), 0); // nothing is read before the wait window shows
        QVERIFY(w.chart.waitForm()->isVisible());
        w.clock.advanceMs(999);
        QCOMPARE(chart->boundFieldCount(1), 0);
        w.clock.advanceMs(1);
        QVERIFY(!w.chart.waitForm()->isVisible());
        QCOMPARE(chart->boundFields(1), QStringList({"Temperature", "Humidity", "Dewpoint"}));
        chart->setHeaderText("Header");
        chart->setFooterText("Footer");
        w.choose("list2", "Humidity");
        w.waitShown();
        QCOMPARE(chart->boundFields(1), QStringList({"Humidity"}));
        QCOMPARE(w.series("List5"), QStringList({"Humidity"}));
        QCOMPARE(chart->headerText(), QString());
        QCOMPARE(chart->footerText(), QString());

        // The dialog adds to the axis title.
        chart->setAxisTitle(ChartAxis::Y, "Temperature");
        w.chart.selectSeries()->show();
        emit w.chart.selectSeries()->fieldChosen("Dewpoint");
        w.waitShown();
        QCOMPARE(chart->axisTitle(ChartAxis::Y), QStringLiteral("Temperature & Dewpoint"));
        QVERIFY(!w.chart.selectSeries()->isVisible());
        QCOMPARE(w.chart.activeSeries(), 1);

        // Group 2: its own list, drawn without symbols.
        w.choose("Combo1", "Chart Group 2 (Y2 Axis)");
        QCOMPARE(w.chart.activeGroup(), 2);
        QVERIFY(w.find<QWidget>("List6")->isVisibleTo(&w.chart));
        QVERIFY(!w.find<QWidget>("List5")->isVisibleTo(&w.chart));
        chart->setSymbolShape(2, 1, SymbolShape::Box);
        w.choose("list4", "Temperature");
        w.waitShown();
        QCOMPARE(w.series("List6"), QStringList({"Temperature"}));
        QCOMPARE(chart->seriesStyle(2, 1).symbol, SymbolShape::None);
        QCOMPARE(chart->boundFields(1), QStringList({"Humidity", "Dewpoint"}));

        // The button takes the title with the series; the menu command leaves it.
        w.choose("Combo1", "Chart Group 1 (Y Axis)");
        w.find<QListWidget>("List5")->setCurrentRow(1);
        w.chart.action("m_removeseries")->trigger();
        QCOMPARE(chart->boundFields(1), QStringList({"Humidity"}));
        QCOMPARE(chart->axisTitle(ChartAxis::Y), QStringLiteral("Temperature & Dewpoint"));
        w.find<QPushButton>("Command2")->click();
        QCOMPARE(chart->boundFieldCount(1), 0);
        QCOMPARE(chart->axisTitle(ChartAxis::Y), QString());
        w.find<QPushButton>("Command2")->click(); // empty: nothing
        QCOMPARE(chart->boundFields(2), QStringList({"Temperature"}));
    }

    void math_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QList<bool>>("yesNo");
        QTest::addColumn<QStringList>("boxes"); // Minimum, Maximum, Average, StdDev, TotalCost
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<QString>("footer");
        const QString footerQ = QStringLiteral("Add Math Figures To Chart Footer?");
        const QString costQ = QStringLiteral("Would you like to calculate total cost?");
        const QString rateQ = QStringLiteral("Enter sample rate of database in minutes? [15]");
        QTest::newRow("missing point counts in n")
            << "Temperature" << QList<bool>{true} << QStringList{"10", "31", "15", "9", ""}
            << QStringList{footerQ}
            << "Temperature: Minimum=10, Maximum=31, Average=15, Standard Deviation=9";
        QTest::newRow("flow with cost")
            << "Air Flow" << QList<bool>{true, true} << QStringList{"40", "40", "40", "0", "0.2962"}
            << QStringList{costQ, rateQ, footerQ}
            << "Air Flow: Minimum=40, Maximum=40, Average=40, Standard Deviation=0,Total "
               "Cost=0.2962";
        QTest::newRow("flow without cost")
            << "Air Flow" << QList<bool>{false, false} << QStringList{"40", "40", "40", "0", ""}
            << QStringList{costQ, footerQ} << "";
        QTest::newRow("no points")
            << "" << QList<bool>{true} << QStringList{"N/A", "N/A", "N/A", "N/A", ""}
            << QStringList{} << "";
    }
    void math()
    {
        QFETCH(QString, field);
        QFETCH(QList<bool>, yesNo);
        QFETCH(QStringList, boxes);
        QFETCH(QStringList, asked);
        QFETCH(QString, footer);
        QTemporaryDir dir;
        Window w;
        w.open(makeFile(dir, "JAN2026.MDB", "Date_Time, Temperature, \"Air Flow\"",
                        {"'1', 10, 40", "'2', 20, 40", "'3', 31, 40", "'4', NULL, 40"}));
        if (!field.isEmpty()) {
            w.choose("list2", field);
            w.waitShown();
        }
        w.dialogs.yesNo = yesNo;
        w.dialogs.answers = {"15"};
        w.chart.Math();
        QVERIFY(w.dialogs.asked.isEmpty()); // the wait window comes first
        w.waitShown();
        QStringList shown;
        for (const char *box : {"Minimum", "Maximum", "Average", "StdDev", "TotalCost"})
            shown << w.find<QLineEdit>(box)->text();
        QCOMPARE(shown, boxes);
        QCOMPARE(w.dialogs.asked, asked);
        QCOMPARE(w.chart.chart()->footerText(), footer);
    }

    void graphingMakesOneWindowAtATime()
    {
        QTemporaryDir dir;
        const QString path = makeFile(dir, "JAN2026.MDB", "Date_Time, Temperature");
        ManualClock clock;
        FakeChartDialogs dialogs;
        dialogs.files = {path, QString()};
        QPointer<ChartMain> window;
        ChartMain *first = showChartWindow(window, clock, dialogs);
        QVERIFY(first->isVisible());
        QCOMPARE(first->session().databasePath(), path);
        QCOMPARE(showChartWindow(window, clock, dialogs), first); // cancelled: still the file
        QCOMPARE(first->session().databasePath(), path);
        first->action("M_Exit")->trigger();
        QTRY_VERIFY(!window); // deleted once closed
        dialogs.files = {QString()};
        ChartMain *second = showChartWindow(window, clock, dialogs);
        QVERIFY(second && second->isVisible());
        QVERIFY(second->session().databasePath().isEmpty());
        delete second;
    }

    void mathFollowsTheSeriesLists()
    {
        Window w;
        w.chart.show();
        QAction *math = w.chart.action("m_m");
        QVERIFY(!math->isEnabled());
        w.find<QWidget>("List5")->setFocus();
        QTRY_VERIFY(math->isEnabled());
        w.find<QWidget>("Text1")->setFocus();
        QTRY_VERIFY(!math->isEnabled());
    }

    // The window keeps the month's data, never the file: the pass writes as if it were closed.
    void loggingPassWhileTheWindowShowsTheMonth()
    {
        ManualClock clock(QDateTime(QDate(2026, 1, 15), QTime(12, 0)));
        QTemporaryDir dir;
        ReadingsRecord record;
        record.setText("OutdoorTemperature", "21.5");
        StatusBoard status;
        LogWriter writer(clock, record, status, dir.path());
        writer.setBusyTimeoutMs(1);
        LoggingPass first(writer, clock);
        first.start();
        clock.advanceMs(LoggingPass::PairDelayMs);
        QVERIFY(first.result().ok());

        FakeChartDialogs dialogs;
        ChartMain window(clock, dialogs);
        window.show();
        dialogs.files << MonthDatabase(dir.path(), clock.now().date());
        window.SelectDataSource();
        QCOMPARE(window.findChild<QComboBox *>("List1")->currentText(),
                 QStringLiteral("Outdoor Data"));
        window.addSeries("Temperature");
        clock.advanceMs(1000);
        QCOMPARE(window.chart()->yValues(1, 1), std::vector<double>{21.5});

        LoggingPass second(writer, clock);
        second.start();
        clock.advanceMs(LoggingPass::PairDelayMs);
        QVERIFY2(second.result().ok(), qPrintable(second.result().error));
        window.chooseTable(1); // reads the new record too
        QCOMPARE(window.chart()->pointCount(1, 1), 2);
    }
};

QTEST_MAIN(TestChartMain)
#include "tst_chartmain.moc"
