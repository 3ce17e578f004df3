// The chart window's menus: every item's effect on the chart, the mouse modes with real
// mouse events, the scrolling time axis and the four print commands on a PDF page.
#include "charting/chart2d.h"
#include "charting/chartsettings.h"
#include "chartwindow/chartwindowfixture.h"
#include "ui/autograph.h"

#include <QAction>
#include <QClipboard>
#include <QColorDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImageReader>
#include <QPrintDialog>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <functional>

namespace {

using Check = std::function<void(Window &w, Chart2D *chart)>;

const QString kColumns = QStringLiteral("Date_Time, Temperature, Humidity");

// Ten records; Temperature rises by ten from 0, Humidity is 50.
QStringList tenRecords()
{
    QStringList rows;
    for (int i = 0; i < 10; ++i)
        rows << QStringLiteral("'1/1/2026 %1:00:00 AM', %2, 50").arg(i + 1).arg(i * 10);
    return rows;
}

// A window showing Temperature as the one selected series of group 1.
void openWithSeries(Window &w, const QTemporaryDir &dir)
{
    w.open(makeFile(dir, "JAN2026.MDB", kColumns, tenRecords()));
    w.choose("list2", "Temperature");
    w.waitShown();
}

// Shown, so that mouse events reach the chart, and drawn.
bool shown(Window &w)
{
    w.chart.show();
    w.chart.chart()->refresh();
    return QTest::qWaitForWindowExposed(&w.chart);
}

void trigger(Window &w, const char *item)
{
    QAction *a = w.chart.action(QString::fromLatin1(item));
    QVERIFY2(a, item);
    QVERIFY2(a->isEnabled(), item);
    a->trigger();
}

// The "Graph Type", "Fill Style" and "Symbol Style" menus: items and captions in value
// order, the first being value 1.
const char *const kChoices[3][2] = {
    {"m_plot m_bar m_pie m_stackbar m_area m_hilo m_hiloopenclose m_candle m_polar m_radar "
     "m_filledradar",
     "Plot|Bar|Pie|Stacking Bar|Area|HiLo|HiLoOpenClose|Candle|Polar|Radar|Filled Radar"},
    {"m_n m_solid m_25percent m_50percent m_75percent m_hs m_vs m_45ds m_135ds m_dh m_ch",
     "None|Solid|25 Percent|50 Percent|75 Percent|Horizontal Stripe|Vertical Stripe|45 Degree "
     "Stripe|135 Degree Stripe|Diag Hatched|Cross Hatched"},
    {"m_none m_dot m_box m_triangle m_diamond m_star m_verticalline m_horizontalline m_cross "
     "m_circle m_square",
     "None|Dot|Box|Triangle|Diamond|Star|Vertical Line|Horizontal Line|Cross|Circle|Square"},
};

QStringList choiceItems(int part)
{
    return QString::fromLatin1(kChoices[part][0]).split(QLatin1Char(' '));
}

// What one text command does: its prompt, the text it reads and the text it sets.
Check textCommand(const char *item, const QString &prompt, std::function<QString(Chart2D *)> text,
                  std::function<void(Chart2D *, const QString &)> preset)
{
    return [=](Window &w, Chart2D *chart) {
        preset(chart, QStringLiteral("Old"));
        w.dialogs.answers = {QStringLiteral("New")};
        trigger(w, item);
        QCOMPARE(text(chart), QStringLiteral("New"));
        QCOMPARE(w.dialogs.asked.last(), prompt + QStringLiteral(" [Old]"));
        trigger(w, item); // cancelled: empty
        QCOMPARE(text(chart), QString());
    };
}

// A 3D command: the entered number, and a cancel that changes nothing.
Check viewCommand(const char *item, const QString &asked, int (Chart2D::*get)() const)
{
    return [=](Window &w, Chart2D *chart) {
        w.dialogs.answers = {QStringLiteral("17")};
        trigger(w, item);
        QCOMPARE((chart->*get)(), 17);
        QCOMPARE(w.dialogs.asked.last(), asked);
        trigger(w, item);
        QCOMPARE((chart->*get)(), 17);
    };
}

Check gridCommand(const char *item, ChartAxis axis)
{
    return [=](Window &w, Chart2D *chart) {
        QVERIFY(w.chart.action(item)->isChecked());
        trigger(w, item);
        QCOMPARE(chart->gridSpacing(axis), std::optional<double>(0.0));
        QVERIFY(!w.chart.action(item)->isChecked());
        trigger(w, item);
        QCOMPARE(chart->gridSpacing(axis), std::nullopt);
    };
}

const QHash<QString, Check> &checks()
{
    static QHash<QString, Check> table;
    if (!table.isEmpty())
        return table;
    table["m_drawingorder"] = [](Window &w, Chart2D *chart) {
        chart->setDrawingOrder(1, DrawingOrder::Back);
        trigger(w, "m_drawingorder");
        QCOMPARE(chart->drawingOrder(1), DrawingOrder::Front);
    };
    table["m_sgtb"] = [](Window &w, Chart2D *chart) {
        trigger(w, "m_sgtb");
        QCOMPARE(chart->drawingOrder(1), DrawingOrder::Back);
        QCOMPARE(chart->drawingOrder(2), DrawingOrder::Front);
    };
    table["m_ctc"] = [](Window &w, Chart2D *) {
        QGuiApplication::clipboard()->clear();
        trigger(w, "m_ctc");
        const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
        QVERIFY(mime && mime->hasImage() && mime->hasFormat("application/pdf"));
    };
    table["m_siabmp"] = [](Window &w, Chart2D *) {
        QTemporaryDir dir;
        w.dialogs.paths = {dir.filePath("chart.JPG")};
        trigger(w, "m_siabmp");
        QCOMPARE(w.dialogs.asked.last(), QStringLiteral("save file [JPG (*.JPG *.jpg)] [JPG]"));
        QImageReader jpeg(dir.filePath("chart.JPG"));
        QCOMPARE(jpeg.format(), QByteArray("jpeg"));
        QCOMPARE(jpeg.size(), w.chart.chart()->size());
    };
    table["m_lc"] = [](Window &w, Chart2D *chart) {
        w.dialogs.colors = {QColor(1, 2, 3)};
        trigger(w, "m_lc");
        QCOMPARE(chart->seriesStyle(1, 1).lineColor, QColor(1, 2, 3));
        trigger(w, "m_lc"); // cancelled
        QCOMPARE(chart->seriesStyle(1, 1).lineColor, QColor(1, 2, 3));
    };
    table["m_bc"] = [](Window &w, Chart2D *chart) {
        w.dialogs.colors = {QColor(4, 5, 6)};
        trigger(w, "m_bc");
        QCOMPARE(chart->backgroundColor(), QColor(4, 5, 6));
    };
    table["m_3ddepth"] =
        viewCommand("m_3ddepth", "Please Enter Amount Of Depth [5]", &Chart2D::depth3D);
    table["m_3drotation"] =
        viewCommand("m_3drotation", "Please Enter Amount Of Rotation [10]", &Chart2D::rotation3D);
    table["m_3delevation"] =
        viewCommand("m_3delevation", "Please Enter Amount Of Elevation [5]", &Chart2D::elevation3D);
    table["m_lw"] = [](Window &w, Chart2D *chart) {
        const QString invalid = QStringLiteral("Invalid Number Entered");
        for (const auto &[answer, width, refused] :
             {std::tuple{"3", 3, false}, std::tuple{"7", 1, true}, std::tuple{"5", 5, false},
              std::tuple{"0", 1, true}, std::tuple{"x", 1, true}}) {
            chart->setLineWidth(1, 1, 4);
            w.dialogs.asked.clear();
            w.dialogs.answers = {QString::fromLatin1(answer)};
            trigger(w, "m_lw");
            QCOMPARE(chart->seriesStyle(1, 1).lineWidth, width);
            QCOMPARE(w.dialogs.asked.contains(invalid), refused);
        }
    };
    table["m_xag"] = gridCommand("m_xag", ChartAxis::X);
    table["m_yag"] = gridCommand("m_yag", ChartAxis::Y);
    table["m_ih"] = textCommand("m_ih", "Please Enter Header Text.", &Chart2D::headerText,
                                &Chart2D::setHeaderText);
    table["m_if"] = textCommand("m_if", "Please Enter Footer Text.", &Chart2D::footerText,
                                &Chart2D::setFooterText);
    for (const auto &[item, axis] :
         {std::pair{"m_xal", ChartAxis::X}, std::pair{"m_yal", ChartAxis::Y},
          std::pair{"m_y2al", ChartAxis::Y2}}) {
        table[item] = textCommand(
            item, "Please Enter Text", [axis = axis](Chart2D *c) { return c->axisTitle(axis); },
            [axis = axis](Chart2D *c, const QString &t) { c->setAxisTitle(axis, t); });
    }
    table["m_sl"] = [](Window &w, Chart2D *chart) {
        trigger(w, "m_sl");
        QVERIFY(chart->seriesLabels(1) && chart->seriesLabels(2));
        trigger(w, "m_sl");
        QVERIFY(!chart->seriesLabels(1) && !chart->seriesLabels(2));
    };
    table["m_sf"] = table["m_lf"] = [](Window &w, Chart2D *chart) {
        QTemporaryDir dir;
        const QString file = dir.filePath("style.fmt");
        chart->setFillPattern(1, 1, FillPattern::Stripe45);
        w.chart.action("m_xag")->trigger(); // no X grid in the file
        w.dialogs.paths = {file};
        trigger(w, "m_sf");
        QVERIFY(QFile::exists(file));
        chart->setFillPattern(1, 1, FillPattern::Solid);
        w.chart.action("m_xag")->trigger();
        w.choose("Combo1", "Chart Group 2 (Y2 Axis)");
        w.choose("list4", "Humidity");
        w.waitShown();
        w.find<QRadioButton>("optZoom")->click();
        w.choose("Combo1", "Chart Group 1 (Y Axis)");

        w.dialogs.paths = {file};
        trigger(w, "m_lf");
        QCOMPARE(chart->seriesStyle(1, 1).fill, FillPattern::Stripe45);
        // The active group is emptied, the other keeps its series, the mode its bindings.
        QCOMPARE(chart->boundFieldCount(1), 0);
        QCOMPARE(w.series("List5"), QStringList());
        QCOMPARE(chart->boundFields(2), QStringList({"Humidity"}));
        QCOMPARE(chart->mouseBindings().size(), 5);
        QCOMPARE(chart->gridSpacing(ChartAxis::X), std::optional<double>(0.0));
        QVERIFY(!w.chart.action("m_xag")->isChecked());

        // A damaged file is refused and says so.
        QFile bad(file);
        QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write("{") == 1);
        bad.close();
        w.dialogs.paths = {file};
        trigger(w, "m_lf");
        QVERIFY(w.dialogs.asked.last().startsWith("Corvane could not load"));
        QCOMPARE(chart->boundFields(2), QStringList({"Humidity"}));
    };
    table["m_cleargraph"] = [](Window &w, Chart2D *chart) {
        for (ChartAxis a : {ChartAxis::X, ChartAxis::Y, ChartAxis::Y2})
            chart->setAxisTitle(a, "Title");
        chart->setHeaderText("Header");
        chart->setPointLabelField(1, "Date_Time");
        chart->setAxisMinimum(ChartAxis::X, 2);
        chart->setAnnotation(ChartAxis::X, AxisAnnotation::ValueLabels);
        chart->setDepth3D(30);
        w.chart.action("m_sta")->trigger();
        w.find<QRadioButton>("optMove")->click();
        trigger(w, "m_cleargraph");
        QCOMPARE(chart->boundFieldCount(1), 0);
        QCOMPARE(w.series("List5"), QStringList());
        for (ChartAxis a : {ChartAxis::X, ChartAxis::Y, ChartAxis::Y2})
            QCOMPARE(chart->axisTitle(a), QString());
        for (const char *list : {"List1", "list2", "list3", "list4"})
            QVERIFY2(w.items(list).isEmpty(), list);
        QCOMPARE(chart->headerText(), QString());
        QCOMPARE(chart->pointLabelField(1), QString());
        QCOMPARE(chart->annotation(ChartAxis::X), AxisAnnotation::Values);
        QVERIFY(!w.chart.action("m_sta")->isChecked() && !chart->isMarkerVisible());
        QCOMPARE(chart->axisMinimum(ChartAxis::X), std::nullopt);
        QCOMPARE(chart->depth3D(), 5); // and "Reset Zoom" ran
        QVERIFY(w.find<QRadioButton>("optNone")->isChecked());
    };
    table["m_xadt"] = [](Window &w, Chart2D *chart) {
        // 10 records: 1 and 11 are refused and asked again; 4 labels step by 10 / 3 = 3.
        w.dialogs.answers = {"1", "11", "4"};
        trigger(w, "m_xadt");
        w.waitShown();
        const QString ask = QStringLiteral("How Many Labels Would You Like On The X Axis? [24]");
        QCOMPARE(w.dialogs.asked,
                 QStringList({ask, "Number entered must be 2 or more", ask,
                              "Number entered greater than available data points", ask}));
        QCOMPARE(chart->annotation(ChartAxis::X), AxisAnnotation::ValueLabels);
        QCOMPARE(chart->tickAnnotation(ChartAxis::X), AxisAnnotation::ValueLabels);
        QVector<std::pair<double, QString>> want;
        for (int p : {0, 3, 6, 9})
            want.append({p, QStringLiteral("1/1/2026 %1:00:00 AM").arg(p + 1).leftJustified(20)});
        QCOMPARE(chart->valueLabels(ChartAxis::X), want);
        w.dialogs.answers = {"10"}; // a second walk replaces the labels of the first
        trigger(w, "m_xadt");
        w.waitShown();
        QCOMPARE(chart->valueLabels(ChartAxis::X).size(), 10);
    };
    table["m_sortdata"] = [](Window &w, Chart2D *chart) {
        // Every record is of January 1st: the axis runs from the first to the last.
        w.dialogs.answers = {"1"};
        trigger(w, "m_sortdata");
        QCOMPARE(w.dialogs.asked.last(),
                 QStringLiteral("Corvane: Please enter date to graph [15]"));
        w.waitShown();
        QCOMPARE(chart->axisMinimum(ChartAxis::X), std::optional<double>(0));
        QCOMPARE(chart->axisMaximum(ChartAxis::X), std::optional<double>(9));
        w.dialogs.answers = {"2"};
        trigger(w, "m_sortdata");
        w.waitShown();
        QCOMPARE(chart->footerText(), QStringLiteral("No records for day 2"));
        trigger(w, "m_sortdata"); // cancelled: the axis stays
        w.waitShown();
        QCOMPARE(chart->footerText(), QStringLiteral("No records for day 2"));
    };
    table["m_autograph"] = [](Window &w, Chart2D *chart) {
        chart->setHeaderText("Monthly");
        trigger(w, "m_autograph");
        AutoGraph *report = w.chart.autoGraph();
        QVERIFY(report && report->isVisible());
        QCOMPARE(report->windowTitle(), QStringLiteral("Automated Reporting"));
        QCOMPARE(report->settings().header, QStringLiteral("Monthly"));
        QCOMPARE(report->settings().files, QStringList{"JAN2026.MDB"});
    };
    return table;
}

// Items whose effect is tested on its own below or in tst_chartmain.
const QStringList kTestedElsewhere = {"m_sr",  "M_Exit", "m_removeseries", "m_m",
                                      "m_sta", "m_ps",   "m_pm",           "m_fth",
                                      "m_ftw", "m_openrange"};
// Disabled in a window given no fax sender; tst_chartfax covers faxing.
const QStringList kNeedsFax = {"m_faxgraph"};

// The chart's extent on a page drawn at 96 dpi: everything not white.
QRect inkExtent(const QImage &page)
{
    QRect extent;
    for (int y = 0; y < page.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(page.constScanLine(y));
        for (int x = 0; x < page.width(); ++x) {
            if (qGray(line[x]) < 250)
                extent |= QRect(x, y, 1, 1);
        }
    }
    return extent;
}

} // namespace

class TestChartStyling : public QObject
{
    Q_OBJECT

private slots:
    void styleChoices_data();
    void styleChoices();
    void noSeriesChangesNothing();
    void menuItems_data();
    void menuItems();
    void mouseModes_data();
    void mouseModes();
    void resetZoomAfterZoom();
    void scrollingTimeAxis();
    void printing_data();
    void printing();
    void cancelledPrintPrintsNothing();
    void realDialogsAnswerFromTheirSignals();
};

void TestChartStyling::styleChoices_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("part"); // 0 chart type, 1 fill, 2 symbol
    for (int part = 0; part < 3; ++part) {
        const QStringList items = choiceItems(part);
        const QStringList captions = QString::fromLatin1(kChoices[part][1]).split('|');
        for (int i = 0; i < 11; ++i)
            QTest::newRow(qPrintable(items[i])) << items[i] << captions[i] << i + 1 << part;
    }
}

void TestChartStyling::styleChoices()
{
    QFETCH(QString, item);
    QFETCH(QString, caption);
    QFETCH(int, value);
    QFETCH(int, part);
    QTemporaryDir dir;
    Window w;
    openWithSeries(w, dir);
    w.choose("Combo1", "Chart Group 2 (Y2 Axis)");
    w.choose("list4", "Humidity");
    w.choose("list4", "Temperature");
    w.waitShown();
    w.find<QListWidget>("List6")->setCurrentRow(1); // group 2, series 2
    Chart2D *chart = w.chart.chart();
    const SeriesStyle before = chart->seriesStyle(2, 2);
    chart->setChartType(2, part == 0 && value == 1 ? ChartType::Bar : ChartType::Plot);

    QCOMPARE(w.chart.action(item)->text(), caption);
    trigger(w, qPrintable(item));
    const SeriesStyle after = chart->seriesStyle(2, 2);
    switch (part) {
    case 0:
        QCOMPARE(int(chart->chartType(2)), value);
        QCOMPARE(int(chart->chartType(1)), 1);
        break;
    case 1:
        QCOMPARE(int(after.fill), value);
        QCOMPARE(after.symbol, before.symbol);
        break;
    default:
        QCOMPARE(int(after.symbol), value);
        QCOMPARE(after.fill, before.fill);
        break;
    }
    // Series 1 of group 2 and group 1 keep their styles.
    QCOMPARE(chart->seriesStyle(2, 1).symbol, SymbolShape::None);
    QCOMPARE(chart->seriesStyle(1, 1).fill, FillPattern::Solid);
}

void TestChartStyling::noSeriesChangesNothing()
{
    QTemporaryDir dir;
    Window w;
    openWithSeries(w, dir);
    w.find<QListWidget>("List5")->setCurrentRow(-1);
    Chart2D *chart = w.chart.chart();
    const SeriesStyle before = chart->seriesStyle(1, 1);
    w.dialogs.answers = {"3"};
    w.dialogs.colors = {Qt::red};
    for (const char *item : {"m_bar", "m_ch", "m_star", "m_lc", "m_lw"})
        trigger(w, item);
    QCOMPARE(chart->chartType(1), ChartType::Plot);
    QCOMPARE(chart->seriesStyle(1, 1), before);
    QVERIFY(w.dialogs.asked.isEmpty()); // nothing was asked either
}

void TestChartStyling::menuItems_data()
{
    QTest::addColumn<QString>("item");
    // Every item the window has is either checked here or named as tested elsewhere.
    Window w;
    QStringList items;
    for (QAction *a : w.chart.findChildren<QAction *>()) {
        const QString name = a->objectName();
        if (name.startsWith("m_") || name.startsWith("M_"))
            items << name;
    }
    items.sort();
    for (const QString &name : std::as_const(items)) {
        const bool choice = choiceItems(0).contains(name) || choiceItems(1).contains(name) ||
                            choiceItems(2).contains(name);
        if (!choice && !kTestedElsewhere.contains(name))
            QTest::newRow(qPrintable(name)) << name;
    }
    QCOMPARE(items.size(), 33 + 35);
}

void TestChartStyling::menuItems()
{
    QFETCH(QString, item);
    Window w;
    if (kNeedsFax.contains(item)) {
        QVERIFY(!w.chart.action(item)->isEnabled());
        return;
    }
    QVERIFY2(checks().contains(item), qPrintable(item + " has no check"));
    QTemporaryDir dir;
    openWithSeries(w, dir);
    checks()[item](w, w.chart.chart());
}

void TestChartStyling::mouseModes_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QVector<MouseBinding>>("bindings");
    QTest::addColumn<bool>("escape");
    const MouseBinding pick{516, 0, 0, 11};
    const auto drag = [&](int action) {
        return QVector<MouseBinding>{{513, 0, 0, 1}, {512, 1, 0, action}, {514, 0, 0, 2}, pick};
    };
    const QVector<MouseBinding> zoom = {
        {513, 0, 0, 6}, {512, 1, 0, 7}, {514, 0, 0, 12}, {256, 1, 27, 9}, pick};
    QTest::newRow("None") << "optNone" << QVector<MouseBinding>{pick} << false;
    QTest::newRow("Move") << "optMove" << drag(5) << false;
    QTest::newRow("Rotate") << "optRotate" << drag(3) << false;
    QTest::newRow("Scale") << "optScale" << drag(4) << false;
    QTest::newRow("Zoom") << "optZoom" << zoom << false;
    QTest::newRow("Zoom, Escape") << "optZoom" << zoom << true;
}

// A left drag over a quarter of the plot's width and half its height, then a right click.
void TestChartStyling::mouseModes()
{
    QFETCH(QString, mode);
    QFETCH(QVector<MouseBinding>, bindings);
    QFETCH(bool, escape);
    QTemporaryDir dir;
    Window w;
    openWithSeries(w, dir);
    Chart2D *chart = w.chart.chart();
    QVERIFY(shown(w));
    w.find<QRadioButton>(qPrintable(mode))->click();
    QCOMPARE(chart->mouseBindings(), bindings);

    QWidget *plot = chart->findChild<QWidget *>();
    const QRect area = chart->plotArea();
    const QPoint a(area.left() + area.width() / 4, area.top() + area.height() / 4);
    const QPoint b = a + QPoint(area.width() / 4, area.height() / 2);
    const auto [lo, hi] = chart->axisRange(ChartAxis::X);
    const double perPixel = (hi - lo) / area.width();
    QTest::mousePress(plot, Qt::LeftButton, {}, a);
    QTest::mouseMove(plot, b);
    if (escape)
        QTest::keyClick(plot, Qt::Key_Escape);
    QTest::mouseRelease(plot, Qt::LeftButton, {}, b);

    const auto [newLo, newHi] = chart->axisRange(ChartAxis::X);
    const double dx = (b.x() - a.x()) * perPixel;
    const auto near = [&](double x, double y) { return std::abs(x - y) < 2 * perPixel; };
    if (mode == "optMove") { // the picture follows the pointer
        QVERIFY(near(newLo, lo - dx) && near(newHi, hi - dx));
    } else if (mode == "optScale") {
        QVERIFY(newHi - newLo < (hi - lo) * 0.9);
    } else if (mode == "optZoom" && !escape) { // the box's X extent fills the axis
        QVERIFY(near(newLo, lo + (a.x() - area.left()) * perPixel));
        QVERIFY(near(newHi, lo + (b.x() - area.left()) * perPixel));
    } else {
        QCOMPARE(chart->axisRange(ChartAxis::X), std::make_pair(lo, hi));
    }
    QCOMPARE(chart->rotation3D(), mode == "optRotate" ? (b.x() - a.x()) / 3 : 0);

    // The right button picks a point in every mode.
    QSignalSpy picked(chart, &Chart2D::pointPicked);
    QTest::mouseClick(plot, Qt::RightButton, {}, b);
    QCOMPARE(picked.size(), 1);
}

void TestChartStyling::resetZoomAfterZoom()
{
    QTemporaryDir dir;
    Window w;
    openWithSeries(w, dir);
    Chart2D *chart = w.chart.chart();
    QVERIFY(shown(w));
    const auto full = chart->axisRange(ChartAxis::X);
    chart->setDepth3D(40);
    chart->setElevation3D(20);
    chart->setRotation3D(30);
    w.find<QRadioButton>("optZoom")->click();
    QWidget *plot = chart->findChild<QWidget *>();
    const QRect area = chart->plotArea();
    QTest::mousePress(plot, Qt::LeftButton, {}, area.center());
    QTest::mouseMove(plot, area.bottomRight() - QPoint(5, 5));
    QTest::mouseRelease(plot, Qt::LeftButton, {}, area.bottomRight() - QPoint(5, 5));
    QVERIFY(chart->axisRange(ChartAxis::X) != full);

    w.find<QPushButton>("Command3")->click();
    QCOMPARE(chart->axisRange(ChartAxis::X), full);
    QCOMPARE(chart->depth3D(), 5);
    QCOMPARE(chart->elevation3D(), 0);
    QCOMPARE(chart->rotation3D(), 0);
    QVERIFY(w.find<QRadioButton>("optNone")->isChecked());
    QCOMPARE(chart->mouseBindings().size(), 1);
}

void TestChartStyling::scrollingTimeAxis()
{
    QTemporaryDir dir;
    Window w;
    openWithSeries(w, dir);
    w.chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.chart));
    Chart2D *chart = w.chart.chart();
    chart->setAnnotation(ChartAxis::X, AxisAnnotation::ValueLabels);
    w.chart.action("m_sta")->trigger();
    QVERIFY(w.chart.action("m_sta")->isChecked());
    QVERIFY(chart->isMarkerVisible());
    QCOMPARE(chart->pointLabelField(1), QStringLiteral("Date_Time"));
    QCOMPARE(chart->annotation(ChartAxis::X), AxisAnnotation::Values);
    chart->refresh();

    QWidget *plot = chart->findChild<QWidget *>();
    const QRect area = chart->plotArea();
    const auto [xlo, xhi] = chart->axisRange(ChartAxis::X);
    const auto [ylo, yhi] = chart->axisRange(ChartAxis::Y);
    const auto pixelOf = [&](int point) {
        return QPoint(int(area.left() + (point - xlo) / (xhi - xlo) * area.width()),
                      int(area.bottom() - (point * 10 - ylo) / (yhi - ylo) * area.height()));
    };
    for (int point : {3, 7, 0}) {
        QTest::mouseMove(plot, pixelOf(point) + QPoint(2, -3));
        QCOMPARE(chart->markerX(), std::optional<double>(point));
        QCOMPARE(
            chart->footerText(),
            QStringLiteral("Temperature %1  1/1/2026 %2:00:00 AM").arg(point * 10).arg(point + 1));
    }

    w.chart.action("m_sta")->trigger();
    QVERIFY(!chart->isMarkerVisible());
    QCOMPARE(chart->footerText(), QString());
    QCOMPARE(chart->pointLabelField(1), QString());
    QTest::mouseMove(plot, pixelOf(5));
    QCOMPARE(chart->footerText(), QString());
}

void TestChartStyling::printing_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QSize>("chart");
    QTest::addColumn<int>("fit"); // 0 own size, 1 the whole area, 2 its height, 3 its width
    QTest::newRow("Standard") << "m_ps" << QSize(300, 300) << 0;
    QTest::newRow("Fit to Page") << "m_pm" << QSize(300, 300) << 1;
    QTest::newRow("Fit to Height") << "m_fth" << QSize(300, 300) << 2;
    QTest::newRow("Fit to Width") << "m_ftw" << QSize(600, 200) << 3;
}

void TestChartStyling::printing()
{
    QFETCH(QString, item);
    QFETCH(QSize, chart);
    QFETCH(int, fit);
    QTemporaryDir dir;
    Window w;
    openWithSeries(w, dir);
    w.chart.chart()->setFixedSize(chart);
    w.chart.chart()->setBackgroundColor(QColor(180, 180, 255));
    w.dialogs.pdf = dir.filePath("page.pdf");
    trigger(w, qPrintable(item));
    QCOMPARE(w.dialogs.asked, QStringList{"print"});

    QProcess pdftoppm;
    pdftoppm.start("pdftoppm",
                   {"-r", "96", "-png", "-singlefile", w.dialogs.pdf, dir.filePath("page")});
    QVERIFY2(pdftoppm.waitForFinished(60000) && pdftoppm.exitCode() == 0,
             "pdftoppm (poppler-utils) is needed");
    const QImage page(dir.filePath("page.png"));
    QVERIFY(!page.isNull());
    QVERIFY(page.width() > page.height()); // landscape

    // The area inside the margins, in printer pixels (here screen pixels too).
    const QRect area(25, 25, page.width() - 275, page.height() - 150);
    QSize expected;
    switch (fit) {
    case 0:
        expected = chart;
        break;
    case 1:
        expected = area.size();
        break;
    case 2:
        expected = QSize(area.height() * chart.width() / chart.height(), area.height());
        break;
    default:
        expected = QSize(area.width(), area.width() * chart.height() / chart.width());
        break;
    }
    const QRect want(area.topLeft(), expected.boundedTo(area.size()));
    const QRect got = inkExtent(page);
    const auto close = [](int a, int b) { return std::abs(a - b) <= 2; };
    QVERIFY2(close(got.left(), want.left()) && close(got.top(), want.top()) &&
                 close(got.right(), want.right()) && close(got.bottom(), want.bottom()),
             qPrintable(QStringLiteral("drawn %1,%2 %3x%4, wanted %5,%6 %7x%8")
                            .arg(got.x())
                            .arg(got.y())
                            .arg(got.width())
                            .arg(got.height())
                            .arg(want.x())
                            .arg(want.y())
                            .arg(want.width())
                            .arg(want.height())));
}

void TestChartStyling::cancelledPrintPrintsNothing()
{
    QTemporaryDir dir;
    Window w;
    openWithSeries(w, dir);
    w.dialogs.pdf = dir.filePath("page.pdf");
    w.dialogs.printCancelled = true;
    trigger(w, "m_pm");
    QCOMPARE(w.dialogs.asked, QStringList{"print"});
    QVERIFY(!QFile::exists(w.dialogs.pdf));
}

// The real dialogs return at once and answer when closed; a cancel answers "nothing".
void TestChartStyling::realDialogsAnswerFromTheirSignals()
{
    QWidget parent;
    WindowChartDialogs dialogs;
    QPrinter printer;
    QList<bool> printed;
    dialogs.choosePrinter(&parent, &printer, [&](bool ok) { printed << ok; });
    auto *print = parent.findChild<QPrintDialog *>();
    QVERIFY(print && print->isVisible() && printed.isEmpty());
    print->reject();
    QCOMPARE(printed, QList<bool>{false});

    QList<QColor> colors;
    dialogs.chooseColor(&parent, Qt::red, [&](const QColor &c) { colors << c; });
    auto *color = parent.findChild<QColorDialog *>();
    QVERIFY(color && colors.isEmpty());
    color->setCurrentColor(Qt::blue);
    color->accept();
    QCOMPARE(colors, QList<QColor>{QColor(Qt::blue)});

    QTemporaryDir dir;
    QStringList paths;
    dialogs.chooseFile(&parent, true, "JPG (*.JPG *.jpg)", "JPG",
                       [&](const QString &p) { paths << p; });
    auto *file = parent.findChild<QFileDialog *>();
    QVERIFY(file && file->acceptMode() == QFileDialog::AcceptSave);
    file->setDirectory(dir.path());
    file->selectFile("chart");
    static_cast<QDialog *>(file)->accept(); // QFileDialog makes it protected
    QCOMPARE(paths, QStringList{dir.filePath("chart.JPG")});
}

QTEST_MAIN(TestChartStyling)
#include "tst_chartstyling.moc"
