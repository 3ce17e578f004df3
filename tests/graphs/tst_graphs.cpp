// The daily graphs: labels, axes, the day window, the run's waits, and a run against FTP.
#include "acquisition/readingsrecord.h"
#include "charting/chart2d.h"
#include "charting/data/chartsession.h"
#include "config/configuration.h"
#include "core/statusboard.h"
#include "fakes/manualclock.h"
#include "graphmonth.h"
#include "graphs/dailygraphs.h"
#include "graphs/graphexport.h"
#include "graphs/graphlabels.h"
#include "publishing/curltransferchannel.h"
#include "publishing/localserver.h"
#include "publishing/publisher.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDateTime kMarch1(QDate(2026, 3, 1), QTime(0, 0));

// Field f steps from 20 to 80 at record (f + 1) * count / 6: each graph has its own step.
// The first and last records, 0 and 100, keep the lines off the axes.
double stepValue(int field, int record, int count)
{
    if (record == 0 || record == count - 1)
        return record == 0 ? 0.0 : 100.0;
    return record < (field + 1) * count / 6 ? 20.0 : 80.0;
}

Configuration graphConfig(int size, int style)
{
    Configuration c;
    c.Graph[GraphStyle] = style;
    c.Graph[GraphSize] = size;
    c.Graph[GraphHeader] = QStringLiteral("Station graphs");
    c.Graph[GraphUploadPath] = QStringLiteral("graphs/");
    return c;
}

// The run's status texts, each with the seconds since the run began.
struct StatusLog
{
    StatusLog(StatusBoard &status, ManualClock &clock, const QDateTime &start)
    {
        QObject::connect(&status, &StatusBoard::statusTextChanged, [&, start](const QString &t) {
            texts << t;
            seconds << start.secsTo(clock.now());
        });
    }
    QStringList texts;
    QList<qint64> seconds;
    qint64 secondsOf(const QString &text) const
    {
        const qsizetype i = texts.indexOf(text);
        return i < 0 ? -1 : seconds[i];
    }
};

} // namespace

class TstGraphs : public QObject
{
    Q_OBJECT
private slots:
    void padLabel_data();
    void padLabel();
    void labelWalk_data();
    void labelWalk();
    void dateTimeLabelStep_data();
    void dateTimeLabelStep();
    void axisSpecs_data();
    void axisSpecs();
    void dayWindow_data();
    void dayWindow();
    void waitsForUploadOrDeadline();
    void unsavedPictureIsNotUploaded();
    void extraFilesFollowTheGraphs();
    void userChartIsLeftAlone();
    void fiveGraphsArriveByFtp();
};

void TstGraphs::padLabel_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("label");
    QTest::newRow("padded") << QVariant("3/1/2026") << QString("3/1/2026            ");
    QTest::newRow("trimmed first") << QVariant("  12:05 ") << QString("12:05               ");
    QTest::newRow("cut to 20") << QVariant("3/14/2026 11:55:00 PM")
                               << QString("3/14/2026 11:55:00 P");
    QTest::newRow("a number") << QVariant(42) << QString("42                  ");
}

void TstGraphs::padLabel()
{
    QFETCH(QVariant, value);
    QFETCH(QString, label);
    QCOMPARE(PadLabel(value), label);
}

void TstGraphs::labelWalk_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("labels");
    QTest::addColumn<int>("span");
    QTest::addColumn<QVector<int>>("positions");
    QVector<int> tens;
    for (int p = 0; p <= 280; p += 10)
        tens << p;
    QTest::newRow("288 records, 25 labels") << 288 << 25 << 288 << tens;
    QTest::newRow("49 records: step 0") << 49 << 25 << 49 << QVector<int>{0};
    QTest::newRow("under 25: step below 0") << 10 << 25 << 10 << QVector<int>{0};
    QTest::newRow("no labels asked") << 288 << 0 << 288 << QVector<int>{};
    QTest::newRow("a day's span over a month") << 600 << 25 << 287 << [] {
        QVector<int> v;
        for (int p = 0; p < 600; p += 10)
            v << p;
        return v;
    }();
}

void TstGraphs::labelWalk()
{
    QFETCH(int, records);
    QFETCH(int, labels);
    QFETCH(int, span);
    QFETCH(QVector<int>, positions);
    QCOMPARE(labelPositions(records, labels, span), positions);
}

// The chart window's count of labels over all records: records / (count - 1).
void TstGraphs::dateTimeLabelStep_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("labels");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("last");
    QTest::newRow("288 records, 24 labels") << 288 << 24 << 12 << 276;
    QTest::newRow("288 records, 20 labels") << 288 << 20 << 15 << 285;
    QTest::newRow("as many labels as records") << 5 << 5 << 1 << 4;
    QTest::newRow("fewer than 2: no step") << 288 << 1 << 0 << 0;
}

void TstGraphs::dateTimeLabelStep()
{
    QFETCH(int, records);
    QFETCH(int, labels);
    QFETCH(int, step);
    QFETCH(int, last);
    QCOMPARE(::dateTimeLabelStep(records, labels), step);
    const QVector<int> walk = ::labelWalk(records, step);
    QCOMPARE(walk.constLast(), last);
    QCOMPARE(walk.size(), step > 0 ? (records + step - 1) / step : 1);
}

void TstGraphs::axisSpecs_data()
{
    QTest::addColumn<QString>("y");
    QTest::addColumn<QString>("y2");
    QTest::addColumn<QStringList>("group1");
    QTest::addColumn<QStringList>("group2");
    QTest::addColumn<QString>("yTitle");
    QTest::addColumn<QString>("y2Title");
    QTest::addColumn<bool>("legend");
    QTest::newRow("one field") << "Temperature"
                               << "" << QStringList{"Temperature"} << QStringList{} << "Temperature"
                               << "" << false;
    QTest::newRow("two fields") << "Temperature:Dewpoint"
                                << "" << QStringList{"Temperature", "Dewpoint"} << QStringList{}
                                << "Temperature & Dewpoint"
                                << "" << true;
    QTest::newRow("one-character second ignored")
        << "Temperature:x"
        << "" << QStringList{"Temperature"} << QStringList{} << "Temperature & x"
        << "" << false;
    QTest::newRow("second axis") << "Temperature"
                                 << "Humidity:Dewpoint" << QStringList{"Temperature"}
                                 << QStringList{"Humidity", "Dewpoint"} << "Temperature"
                                 << "Humidity & Dewpoint" << true;
}

void TstGraphs::axisSpecs()
{
    QFETCH(QString, y);
    QFETCH(QString, y2);
    QFETCH(QStringList, group1);
    QFETCH(QStringList, group2);
    QFETCH(QString, yTitle);
    QFETCH(QString, y2Title);
    QFETCH(bool, legend);
    QTemporaryDir dir;
    QVERIFY(writeMonth(dir.path(), everyMinutes(kMarch1, 5, 288),
                       [](int f, int r) { return stepValue(f, r, 288); }));
    GraphRequest request{MonthDatabase(dir.path(), kMarch1.date()),
                         y,
                         y2,
                         25,
                         "Head",
                         0,
                         640,
                         480,
                         -1,
                         "temp",
                         dir.path(),
                         ""};
    GraphPicture picture;
    QVERIFY(picture.draw(request).ok());
    Chart2D &chart = picture.chart();
    QCOMPARE(chart.boundFields(1), group1);
    QCOMPARE(chart.boundFields(2), group2);
    QCOMPARE(chart.axisTitle(ChartAxis::Y), yTitle);
    QCOMPARE(chart.axisTitle(ChartAxis::Y2), y2Title);
    QCOMPARE(chart.seriesLabels(1), legend);
    QCOMPARE(chart.headerText(), QString("Head"));
    // 288 records, 25 labels: the date/time of every 10th record, padded to 20.
    const auto labels = chart.valueLabels(ChartAxis::X);
    QCOMPARE(labels.size(), 29);
    QCOMPARE(labels[1].first, 10.0);
    QCOMPARE(labels[1].second, PadLabel("3/1/2026 12:50:00 AM"));
}

void TstGraphs::dayWindow_data()
{
    QTest::addColumn<int>("day");
    QTest::addColumn<double>("xMin");
    QTest::addColumn<double>("xMax");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("footer");
    // Records every 6 hours on the 14th to 16th (4 each), one on the 18th, then the 20th.
    QTest::newRow("day 15 narrows the axis") << 15 << 4.0 << 7.0 << 3 << "";
    QTest::newRow("one record alone") << 18 << 11.5 << 12.5 << 0 << "";
    QTest::newRow("a skipped day") << 17 << 14.0 << 15.0 << 0 << "No records for day 17";
    QTest::newRow("after the last record") << 25 << 14.0 << 15.0 << 0 << "No records for day 25";
}

void TstGraphs::dayWindow()
{
    QFETCH(int, day);
    QFETCH(double, xMin);
    QFETCH(double, xMax);
    QFETCH(int, result);
    QFETCH(QString, footer);
    QTemporaryDir dir;
    QList<QDateTime> times = everyMinutes(QDateTime(QDate(2026, 3, 14), QTime(0, 0)), 360, 12);
    times << QDateTime(QDate(2026, 3, 18), QTime(9, 0))
          << QDateTime(QDate(2026, 3, 20), QTime(1, 0));
    QVERIFY(writeMonth(dir.path(), times, [](int, int r) { return r; }));
    GraphRequest request{MonthDatabase(dir.path(), times.first().date()),
                         "Temperature",
                         "",
                         0,
                         "",
                         0,
                         640,
                         480,
                         -1,
                         "temp",
                         dir.path(),
                         ""};
    GraphPicture picture;
    QVERIFY(picture.draw(request).ok());
    QCOMPARE(int(LimitAxisToDay(picture.chart(), picture.session(), qint16(day))), result);
    QCOMPARE(picture.chart().axisMinimum(ChartAxis::X), std::optional<double>(xMin));
    QCOMPARE(picture.chart().axisMaximum(ChartAxis::X), std::optional<double>(xMax));
    QCOMPARE(picture.chart().footerText(), footer);
}

void TstGraphs::waitsForUploadOrDeadline()
{
    QTemporaryDir dir;
    QVERIFY(writeMonth(dir.path(), everyMinutes(kMarch1, 5, 60), [](int, int r) { return r; }));
    ManualClock clock(kMarch1.addSecs(8 * 3600));
    StatusBoard status;
    StatusLog log(status, clock, clock.now());
    const Configuration config = graphConfig(1, 0);
    QStringList uploads;
    DailyGraphs run(clock, config, status, dir.path(),
                    [&](const QString &local, const QString &remote) {
                        uploads << QFileInfo(local).fileName() + " " + remote;
                        return true;
                    });
    run.start();
    QCOMPARE(uploads, QStringList{"temp.jpg graphs/temp.jpg"});
    // The first upload never completes: the second graph comes 150 s later.
    clock.advanceSeconds(149.9);
    QCOMPARE(uploads.size(), 1);
    clock.advanceSeconds(0.1);
    QCOMPARE(log.secondsOf("Generating Humidity Graph"), 150);
    // A completion ends the wait at once.
    clock.advanceSeconds(30);
    run.graphUploadDone();
    QCoreApplication::sendPostedEvents();
    QCOMPARE(log.secondsOf("Generating Dewpoint Graph"), 180);
    // Later graphs wait at most 120 s each.
    clock.advanceSeconds(240);
    QCOMPARE(log.secondsOf("Generating Average Wind Graph"), 300);
    QCOMPARE(log.secondsOf("Generating Barometer Graph"), 420);
    QVERIFY(run.isRunning());
    clock.advanceSeconds(120);
    QVERIFY(!run.isRunning());
    QCOMPARE(uploads.size(), 5);
    QCOMPARE(log.texts.last(), QString("Uploading graphs/baro.jpg"));
}

void TstGraphs::unsavedPictureIsNotUploaded()
{
    QTemporaryDir dir;
    QVERIFY(writeMonth(dir.path(), everyMinutes(kMarch1, 5, 60), [](int, int r) { return r; }));
    QVERIFY(QDir(dir.path()).mkdir("humid.jpg")); // where the picture should go
    ManualClock clock(kMarch1.addSecs(8 * 3600));
    StatusBoard status;
    StatusLog log(status, clock, clock.now());
    const Configuration config = graphConfig(1, 1);
    QStringList uploads;
    DailyGraphs run(clock, config, status, dir.path(), [&](const QString &local, const QString &) {
        uploads << QFileInfo(local).fileName();
        return true;
    });
    // Each upload completes before its wait begins, which still ends the wait.
    connect(&status, &StatusBoard::statusTextChanged, &run, [&](const QString &t) {
        if (t.startsWith("Uploading"))
            run.graphUploadDone();
    });
    run.start();
    QTRY_VERIFY_WITH_TIMEOUT(!run.isRunning(), 10000);
    QCOMPARE(uploads, (QStringList{"temp.jpg", "dew.jpg", "wind.jpg", "baro.jpg"}));
    const qsizetype failed = log.texts.indexOf("Generating Humidity Graph") + 1;
    QVERIFY(log.texts.value(failed).startsWith("Graph humid.jpg could not be saved: "));
    QVERIFY(log.texts.value(failed).size() >
            QString("Graph humid.jpg could not be saved: ").size());
    QCOMPARE(log.texts.value(failed + 1), QString("Generating Dewpoint Graph"));
}

void TstGraphs::extraFilesFollowTheGraphs()
{
    QTemporaryDir dir;
    QVERIFY(writeMonth(dir.path(), everyMinutes(kMarch1, 5, 60), [](int, int r) { return r; }));
    ManualClock clock(kMarch1.addSecs(8 * 3600));
    StatusBoard status;
    StatusLog log(status, clock, clock.now());
    const Configuration config = graphConfig(1, 0);
    QStringList uploads;
    DailyGraphs run(clock, config, status, dir.path(),
                    [&](const QString &local, const QString &remote) {
                        uploads << QFileInfo(local).fileName() + " " + remote;
                        return !remote.endsWith("busy.txt");
                    });
    run.setExtraFiles([&](const QDate &today) {
        // Made once the five graphs have gone.
        uploads << QStringLiteral("made %1 after %2").arg(today.toString(Qt::ISODate)).arg(uploads.size());
        return QStringList{dir.filePath("NOAA-2026-03.txt"), dir.filePath("busy.txt"),
                           dir.filePath("NOAA-2026.txt")};
    });
    run.start();
    clock.advanceSeconds(150 + 5 * 120); // each upload is left to its deadline
    QCOMPARE(uploads.value(5), QString("made 2026-03-01 after 5"));
    // A refused upload has nothing to wait for; the next follows at once.
    QCOMPARE(uploads.mid(6), (QStringList{"NOAA-2026-03.txt graphs/NOAA-2026-03.txt",
                                          "busy.txt graphs/busy.txt",
                                          "NOAA-2026.txt graphs/NOAA-2026.txt"}));
    QVERIFY(log.texts.contains("graphs/busy.txt could not be uploaded: the graph channel "
                               "is still busy"));
    QCOMPARE(log.texts.last(), QString("Uploading graphs/NOAA-2026.txt"));
    QVERIFY(run.isRunning());
    clock.advanceSeconds(120);
    QVERIFY(!run.isRunning());
}

void TstGraphs::userChartIsLeftAlone()
{
    QTemporaryDir dir;
    QVERIFY(writeMonth(dir.path(), everyMinutes(kMarch1, 5, 60), [](int, int r) { return r; }));
    MemoryChartData mine;
    mine.setValues("Rain", {1, 2, 3});
    Chart2D userChart;
    userChart.setDataSource(&mine);
    userChart.addBoundField(1, "Rain");
    userChart.setHeaderText("my chart");
    userChart.show();
    StatusBoard status;
    QList<QWidget *> shownDuringUpload;
    const GraphRequest request{MonthDatabase(dir.path(), kMarch1.date()),
                               "Temperature",
                               "",
                               25,
                               "Station",
                               0,
                               640,
                               480,
                               -1,
                               "temp",
                               dir.path(),
                               ""};
    const GraphOutcome outcome = ExportAndUploadGraph(
        request,
        [&](const QString &, const QString &) {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (w->isVisible() && w != &userChart)
                    shownDuringUpload << w;
            return true;
        },
        status);
    QCOMPARE(outcome.kind, GraphOutcome::Uploading);
    QVERIFY(shownDuringUpload.isEmpty());
    QVERIFY(userChart.isVisible());
    QCOMPARE(userChart.boundFields(1), QStringList{"Rain"});
    QCOMPARE(userChart.headerText(), QString("my chart"));
    QCOMPARE(userChart.dataSource(), &mine);
    QCOMPARE(QApplication::topLevelWidgets(), QWidgetList{&userChart});
}

void TstGraphs::fiveGraphsArriveByFtp()
{
    QTemporaryDir root, home;
    QVERIFY(QDir(root.path()).mkdir("graphs"));
    LocalServer ftp;
    QVERIFY(ftp.start("ftpserver.py", {"--root", root.path(), "--user", "wx", "--password", "pw"}));
    // On 1 March the run reads March alone; February's file holds other shapes.
    constexpr int Records = 288;
    QVERIFY(writeMonth(home.path(), everyMinutes(kMarch1.addDays(-28), 5, Records),
                       [](int f, int r) { return stepValue(4 - f, r, Records); }));
    QVERIFY(writeMonth(home.path(), everyMinutes(kMarch1, 5, Records),
                       [](int f, int r) { return stepValue(f, r, Records); }));

    Configuration config = graphConfig(0, 1);
    config.RemoteHost = "127.0.0.1";
    config.RemotePort = QString::number(ftp.port());
    config.UserName = "wx";
    config.Password = "pw";
    ManualClock clock(kMarch1.addSecs(8 * 3600));
    StatusBoard status;
    StatusLog log(status, clock, clock.now());
    ReadingsRecord readings;
    CurlTransferChannel inet1(CurlTransferChannel::Protocol::Ftp),
        inet2(CurlTransferChannel::Protocol::Http), inet3(CurlTransferChannel::Protocol::Ftp);
    Publisher publisher(clock, config, readings, status, inet1, inet2, inet3);
    DailyGraphs run(clock, config, status, home.path(), [&](const QString &l, const QString &r) {
        return publisher.uploadGraph(l, r);
    });
    connect(&publisher, &Publisher::graphUploadDone, &run, &DailyGraphs::graphUploadDone);
    run.start();
    // Each real upload completes well before its deadline on the manual clock.
    QTRY_VERIFY2_WITH_TIMEOUT(!run.isRunning(), qPrintable(log.texts.join(" | ")), 30000);
    QCOMPARE(clock.now(), kMarch1.addSecs(8 * 3600));

    QStringList expected;
    for (const DailyGraphs::Graph &g : DailyGraphs::Graphs)
        expected << QString::fromLatin1(g.statusText)
                 << QStringLiteral("Uploading graphs/%1.jpg").arg(QLatin1String(g.baseName));
    QStringList shown;
    for (const QString &t : log.texts)
        if (t.startsWith("Generating") || t.startsWith("Uploading"))
            shown << t;
    QCOMPARE(shown, expected);

    for (int f = 0; f < 5; ++f) {
        const QString name = QString::fromLatin1(DailyGraphs::Graphs[f].baseName) + ".jpg";
        QImage image(root.filePath("graphs/" + name), "JPEG");
        QVERIFY2(!image.isNull(), qPrintable(name));
        QCOMPARE(image.size(), QSize(1024, 768));
        // Where this field's line must run, from a chart of the same request laid out alike.
        GraphPicture layout;
        QVERIFY(layout.draw(run.request(f, kMarch1.date())).ok());
        const QRect area = layout.chart().plotArea();
        const auto [x0, x1] = layout.chart().axisRange(ChartAxis::X);
        const auto [y0, y1] = layout.chart().axisRange(ChartAxis::Y);
        const auto col = [&](double p) {
            return int(area.left() + (p - x0) / (x1 - x0) * area.width());
        };
        const auto row = [&](double v) {
            return int(area.top() + (y1 - v) / (y1 - y0) * area.height());
        };
        // The series is blue, blended with the white ground by antialiasing and JPEG; the grid
        // is grey and the axes black.
        QCOMPARE(layout.chart().seriesStyle(1, 1).lineColor.hue(), QColor(Qt::blue).hue());
        const auto lineNear = [&](int x, int y) {
            for (int dy = -2; dy <= 2; ++dy) {
                const QColor c = image.pixelColor(x, y + dy);
                if (c.red() < 200 && c.blue() - c.red() > 30)
                    return true;
            }
            return false;
        };
        const int step = (f + 1) * Records / 6;
        const int before = col(step - Records / 12), after = col(step + Records / 12);
        QVERIFY2(lineNear(before, row(20)) && !lineNear(before, row(80)), qPrintable(name));
        QVERIFY2(lineNear(after, row(80)) && !lineNear(after, row(20)), qPrintable(name));
    }
}

QTEST_MAIN(TstGraphs)
#include "tst_graphs.moc"
