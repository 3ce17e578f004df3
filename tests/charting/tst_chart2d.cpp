// What the chart draws, checked on rendered pixels; binding, ranges and types.
#include "charting/chart2d.h"

#include <QtTest>

#include <cmath>

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
const QColor Ink(0, 0, 200);

std::vector<double> constant(int n, double v)
{
    return std::vector<double>(size_t(n), v);
}

// Rows of a column of the plot area whose pixel is close to the colour.
QVector<int> inkRows(const QImage &image, const QRect &area, int x, const QColor &color)
{
    QVector<int> rows;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const QColor c = image.pixelColor(x, y);
        if (std::abs(c.red() - color.red()) + std::abs(c.green() - color.green()) +
                std::abs(c.blue() - color.blue()) <
            60)
            rows << y;
    }
    return rows;
}

struct Fixture
{
    MemoryChartData data;
    Chart2D chart;

    Fixture()
    {
        chart.resize(800, 600);
        chart.setDataSource(&data);
    }
    void bind(int group, const QString &field, std::vector<double> values)
    {
        data.setValues(field, std::move(values));
        chart.setDataSource(&data);
        chart.addBoundField(group, field);
        chart.setLineColor(group, chart.boundFieldCount(group), Ink);
        chart.setLineWidth(group, chart.boundFieldCount(group), 2);
    }
};

} // namespace

class TstChart2D : public QObject
{
    Q_OBJECT
private slots:
    void renderHasRequestedSize();
    void valueLandsOnItsRow_data();
    void valueLandsOnItsRow();
    void missingValuesLeaveAGap();
    void everyValueLabelIsShown();
    void fillPatternsDraw_data();
    void fillPatternsDraw();
    void turnedViewLooksThreeD_data();
    void turnedViewLooksThreeD();
    void removingFromPositionOneEmptiesGroup();
    void automaticAgainRestoresFullRange_data();
    void automaticAgainRestoresFullRange();
    void typesNeedingMoreSeriesSaySoInFooter_data();
    void typesNeedingMoreSeriesSaySoInFooter();
    void nearestPointFindsDrawnPoint();
    void mouseActionsZoomMoveAndReset();
    void mouseIsReportedInTwips();
    void bindingsTurnMouseIntoActions_data();
    void bindingsTurnMouseIntoActions();
    void markerStandsAtItsPoint();
};

void TstChart2D::renderHasRequestedSize()
{
    Fixture f;
    f.bind(1, "T", constant(100, 5));
    QCOMPARE(f.chart.renderImage(QSize(1024, 768)).size(), QSize(1024, 768));
    f.chart.setWidthTwips(640 * 15);
    f.chart.setHeightTwips(480 * 15);
    QCOMPARE(f.chart.renderImage(f.chart.size()).size(), QSize(640, 480));
}

void TstChart2D::valueLandsOnItsRow_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<double>("value");
    QTest::newRow("Y 50 of 0..100") << 1 << 50.0;
    QTest::newRow("Y 25 of 0..100") << 1 << 25.0;
    QTest::newRow("Y2 80 of 0..100") << 2 << 80.0;
}

void TstChart2D::valueLandsOnItsRow()
{
    QFETCH(int, group);
    QFETCH(double, value);
    Fixture f;
    f.bind(group, "T", constant(200, value));
    const ChartAxis axis = group == 1 ? ChartAxis::Y : ChartAxis::Y2;
    f.chart.setAxisMinimum(axis, 0);
    f.chart.setAxisMaximum(axis, 100);
    f.chart.setGridSpacing(ChartAxis::X, 0);
    f.chart.setGridSpacing(ChartAxis::Y, 0);
    const QImage image = f.chart.renderImage(f.chart.size());
    const QRect area = f.chart.plotArea();
    const double expected = area.bottom() - value / 100.0 * area.height();
    const QVector<int> rows = inkRows(image, area, area.center().x(), Ink);
    QVERIFY2(!rows.isEmpty(), "no line in the middle column");
    for (int row : rows)
        QVERIFY2(std::abs(row - expected) <= 2,
                 qPrintable(QString("row %1, expected %2").arg(row).arg(expected)));
}

void TstChart2D::missingValuesLeaveAGap()
{
    Fixture f;
    std::vector<double> y = constant(100, 50);
    for (int i = 40; i < 60; ++i)
        y[size_t(i)] = NaN;
    f.bind(1, "T", y);
    // 0 stands inside the area, so that a drop to 0 would be seen.
    f.chart.setAxisMinimum(ChartAxis::Y, -50);
    f.chart.setAxisMaximum(ChartAxis::Y, 100);
    f.chart.setGridSpacing(ChartAxis::X, 0);
    f.chart.setGridSpacing(ChartAxis::Y, 0);
    const QImage image = f.chart.renderImage(f.chart.size());
    const QRect area = f.chart.plotArea();
    const auto columnOf = [&](int point) {
        const auto [lo, hi] = f.chart.axisRange(ChartAxis::X);
        return int(area.left() + (point - lo) / (hi - lo) * area.width());
    };
    QVERIFY(!inkRows(image, area, columnOf(20), Ink).isEmpty());
    QVERIFY(!inkRows(image, area, columnOf(80), Ink).isEmpty());
    // Nothing in the gap: neither the line at 50 nor a drop to 0.
    QVERIFY(inkRows(image, area, columnOf(50), Ink).isEmpty());
    QVERIFY(std::isnan(f.chart.yValue(1, 1, 50)));
}

void TstChart2D::everyValueLabelIsShown()
{
    Fixture f;
    f.chart.resize(1024, 768);
    f.bind(1, "T", constant(300, 5));
    // Texts repeat (days of a week), each at its own position.
    const QStringList days{"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    QStringList expected;
    f.chart.suspendRedraw();
    f.chart.setAnnotation(ChartAxis::X, AxisAnnotation::ValueLabels);
    for (int i = 0; i < 25; ++i) {
        const QString text = days[i % days.size()] + QString(17, ' ');
        f.chart.addValueLabel(ChartAxis::X, i * 12, text);
        expected << text.trimmed();
    }
    f.chart.setTickAnnotation(ChartAxis::X, AxisAnnotation::ValueLabels);
    f.chart.resumeRedraw();
    QCOMPARE(f.chart.shownAxisTexts(ChartAxis::X), expected);
}

void TstChart2D::fillPatternsDraw_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("fill");
    for (int type : {int(ChartType::Area), int(ChartType::Bar), int(ChartType::Pie),
                     int(ChartType::FilledRadar)}) {
        for (int fill = 2; fill <= 11; ++fill)
            QTest::addRow("type %d fill %d", type, fill) << type << fill;
    }
}

void TstChart2D::fillPatternsDraw()
{
    QFETCH(int, type);
    QFETCH(int, fill);
    Fixture f;
    f.bind(1, "T", {3, 5, 4, 6, 2});
    f.chart.setChartType(1, ChartType(type));
    for (int s = 1; s <= 5; ++s)
        f.chart.setFillPattern(1, s, FillPattern::None);
    const QImage none = f.chart.renderImage(f.chart.size());
    for (int s = 1; s <= 5; ++s)
        f.chart.setFillPattern(1, s, FillPattern(fill));
    QVERIFY(f.chart.renderImage(f.chart.size()) != none);
}

void TstChart2D::turnedViewLooksThreeD_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("elevation");
    QTest::addColumn<int>("rotation");
    for (int type :
         {int(ChartType::Plot), int(ChartType::Bar), int(ChartType::Pie), int(ChartType::Radar)}) {
        QTest::addRow("type %d elevation", type) << type << 20 << 0;
        QTest::addRow("type %d rotation", type) << type << 0 << 10;
    }
}

void TstChart2D::turnedViewLooksThreeD()
{
    QFETCH(int, type);
    QFETCH(int, elevation);
    QFETCH(int, rotation);
    Fixture f;
    f.bind(1, "T", {3, 5, 4, 6, 2});
    f.chart.setChartType(1, ChartType(type));
    f.chart.setDepth3D(5);
    f.chart.setElevation3D(0);
    f.chart.setRotation3D(0);
    QVERIFY(!f.chart.is3D());
    const QImage flat = f.chart.renderImage(f.chart.size());
    f.chart.setElevation3D(elevation);
    f.chart.setRotation3D(rotation);
    QVERIFY(f.chart.is3D());
    QVERIFY(f.chart.renderImage(f.chart.size()) != flat);
}

void TstChart2D::removingFromPositionOneEmptiesGroup()
{
    Fixture f;
    for (const char *name : {"A", "B", "C"})
        f.bind(1, name, constant(10, 1));
    f.bind(2, "D", constant(10, 1));
    while (f.chart.boundFieldCount(1) > 0)
        QVERIFY(f.chart.removeBoundField(1, 1));
    QCOMPARE(f.chart.boundFields(1), QStringList());
    QCOMPARE(f.chart.pointCount(1, 1), 0);
    QVERIFY(!f.chart.removeBoundField(1, 1));
    QCOMPARE(f.chart.boundFields(2), QStringList{"D"});
    // The remaining order is kept when removing from the middle.
    for (const char *name : {"A", "B", "C"})
        f.chart.addBoundField(1, name);
    QVERIFY(f.chart.removeBoundField(1, 2));
    QCOMPARE(f.chart.boundFields(1), (QStringList{"A", "C"}));
}

void TstChart2D::automaticAgainRestoresFullRange_data()
{
    QTest::addColumn<int>("axis");
    QTest::addColumn<bool>("setMinimum");
    QTest::newRow("X minimum") << int(ChartAxis::X) << true;
    QTest::newRow("X maximum") << int(ChartAxis::X) << false;
    QTest::newRow("Y minimum") << int(ChartAxis::Y) << true;
    QTest::newRow("Y maximum") << int(ChartAxis::Y) << false;
}

void TstChart2D::automaticAgainRestoresFullRange()
{
    QFETCH(int, axis);
    QFETCH(bool, setMinimum);
    Fixture f;
    std::vector<double> y(288);
    for (size_t i = 0; i < y.size(); ++i)
        y[i] = 10 + double(i % 50);
    f.bind(1, "T", y);
    const ChartAxis a = ChartAxis(axis);
    const auto full = f.chart.axisRange(a);
    QCOMPARE(f.chart.axisRange(ChartAxis::X), std::make_pair(0.0, 287.0));
    const double inside = (full.first + full.second) / 2;
    if (setMinimum)
        f.chart.setAxisMinimum(a, inside);
    else
        f.chart.setAxisMaximum(a, inside);
    QCOMPARE(setMinimum ? f.chart.axisRange(a).first : f.chart.axisRange(a).second, inside);
    if (setMinimum)
        f.chart.setAxisMinimum(a, std::nullopt);
    else
        f.chart.setAxisMaximum(a, std::nullopt);
    QCOMPARE(f.chart.axisRange(a), full);
}

void TstChart2D::typesNeedingMoreSeriesSaySoInFooter_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("series");
    QTest::addColumn<QString>("footer");
    QTest::newRow("candle, 1") << int(ChartType::Candle) << 1
                               << "Candle needs 4 series per set (high, low, open, close); "
                                  "chart group 1 has 1.";
    QTest::newRow("candle, 4") << int(ChartType::Candle) << 4 << "mine";
    QTest::newRow("HiLo, 3") << int(ChartType::HiLo) << 3
                             << "HiLo needs 2 series per set (high, low); chart group 1 has 3.";
    QTest::newRow("HiLo, 2") << int(ChartType::HiLo) << 2 << "mine";
    QTest::newRow("HLOC, 2") << int(ChartType::HiLoOpenClose) << 2
                             << "HiLoOpenClose needs 4 series per set (high, low, open, "
                                "close); chart group 1 has 2.";
    QTest::newRow("plot, 1") << int(ChartType::Plot) << 1 << "mine";
}

void TstChart2D::typesNeedingMoreSeriesSaySoInFooter()
{
    QFETCH(int, type);
    QFETCH(int, series);
    QFETCH(QString, footer);
    Fixture f;
    f.chart.setFooterText("mine");
    for (int i = 0; i < series; ++i)
        f.bind(1, QString("S%1").arg(i), {4.0 + i, 5, 6, 7});
    f.chart.setChartType(1, ChartType(type));
    QCOMPARE(f.chart.shownFooterText(), footer);
    QCOMPARE(f.chart.footerText(), QString("mine"));
}

void TstChart2D::nearestPointFindsDrawnPoint()
{
    Fixture f;
    std::vector<double> y(60);
    for (size_t i = 0; i < y.size(); ++i)
        y[i] = std::sin(double(i) / 5) * 10;
    f.bind(1, "T", y);
    const QRect area = f.chart.plotArea();
    const auto [lo, hi] = f.chart.axisRange(ChartAxis::X);
    const auto [ylo, yhi] = f.chart.axisRange(ChartAxis::Y);
    for (int point : {0, 17, 59}) {
        const QPoint pixel(
            int(area.left() + (point - lo) / (hi - lo) * area.width()),
            int(area.bottom() - (y[size_t(point)] - ylo) / (yhi - ylo) * area.height()));
        QCOMPARE(f.chart.nearestPoint(1, 1, pixel), point);
    }
    QCOMPARE(f.chart.nearestPoint(1, 2, area.center()), -1);
}

void TstChart2D::mouseActionsZoomMoveAndReset()
{
    Fixture f;
    f.bind(1, "T", constant(101, 5));
    const auto full = f.chart.axisRange(ChartAxis::X);
    const QRect area = f.chart.plotArea();
    const QPoint a(area.left() + area.width() / 4, area.top() + 10);
    const QPoint b(area.left() + area.width() / 2, area.bottom() - 10);
    QVERIFY(f.chart.performAction(int(ChartAction::ZoomStart), a));
    QVERIFY(f.chart.performAction(int(ChartAction::ZoomExtend), b));
    QVERIFY(f.chart.performAction(int(ChartAction::ZoomEnd), b));
    const auto zoomed = f.chart.axisRange(ChartAxis::X);
    QVERIFY(std::abs(zoomed.first - 25) < 1.5 && std::abs(zoomed.second - 50) < 1.5);

    // Moving right by a quarter of the width shows what lay a quarter range to the left.
    QVERIFY(f.chart.performAction(int(ChartAction::StartDrag), a));
    QVERIFY(f.chart.performAction(int(ChartAction::Move), a + QPoint(area.width() / 4, 0)));
    QVERIFY(f.chart.performAction(int(ChartAction::EndDrag), a));
    const auto moved = f.chart.axisRange(ChartAxis::X);
    QVERIFY(std::abs(moved.first - (zoomed.first - 25.0 / 4)) < 0.5);

    QVERIFY(f.chart.performAction(int(ChartAction::Reset), QPoint()));
    QCOMPARE(f.chart.axisRange(ChartAxis::X), full);
    QVERIFY(!f.chart.performAction(13, QPoint()));
}

void TstChart2D::mouseIsReportedInTwips()
{
    Fixture f;
    f.bind(1, "T", constant(10, 5));
    f.chart.show();
    QSignalSpy spy(&f.chart, &Chart2D::mouseAt);
    QWidget *plot = f.chart.findChild<QWidget *>();
    QVERIFY(plot);
    QTest::mouseMove(plot, QPoint(100, 40));
    QVERIFY(!spy.isEmpty());
    QCOMPARE(spy.last().at(0).toInt(), 1500);
    QCOMPARE(spy.last().at(1).toInt(), 600);
}

void TstChart2D::bindingsTurnMouseIntoActions_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("zoom box") << false;
    QTest::newRow("Escape during the box") << true;
}

void TstChart2D::bindingsTurnMouseIntoActions()
{
    QFETCH(bool, escape);
    Fixture f;
    f.bind(1, "T", constant(101, 5));
    f.chart.show();
    // The zoom mode's bindings: left down starts, moving with the left button held
    // extends, left up ends the box; Escape with the button held abandons it.
    for (const MouseBinding &b :
         {MouseBinding{513, 0, 0, 6}, MouseBinding{512, 1, 0, 7}, MouseBinding{514, 0, 0, 12},
          MouseBinding{256, 1, 27, 9}, MouseBinding{516, 0, 0, 11}})
        f.chart.addMouseBinding(b);
    QWidget *plot = f.chart.findChild<QWidget *>();
    const QRect area = f.chart.plotArea();
    const QPoint a(area.left() + area.width() / 4, area.top() + 10);
    const QPoint b(area.left() + area.width() / 2, area.bottom() - 10);
    const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button,
                          Qt::MouseButtons held) {
        QMouseEvent event(type, at, plot->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(plot, &event);
    };
    const auto full = f.chart.axisRange(ChartAxis::X);

    send(QEvent::MouseButtonPress, a, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, b, Qt::NoButton, Qt::LeftButton);
    if (escape) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(plot, &key);
    }
    send(QEvent::MouseButtonRelease, b, Qt::LeftButton, Qt::NoButton);
    const auto range = f.chart.axisRange(ChartAxis::X);
    if (escape) {
        QCOMPARE(range, full);
    } else {
        QVERIFY(std::abs(range.first - 25) < 1.5 && std::abs(range.second - 50) < 1.5);
    }
}

void TstChart2D::markerStandsAtItsPoint()
{
    Fixture f;
    f.bind(1, "T", constant(101, 20));
    f.chart.setAxisMinimum(ChartAxis::Y, 0);
    f.chart.setAxisMaximum(ChartAxis::Y, 100);
    f.chart.setGridSpacing(ChartAxis::X, 0);
    f.chart.setGridSpacing(ChartAxis::Y, 0);
    QVERIFY(!f.chart.moveMarkerTo(1, 1, 101));
    QVERIFY(!f.chart.moveMarkerTo(2, 1, 0));
    QVERIFY(f.chart.moveMarkerTo(1, 1, 33));
    const QRect area = f.chart.plotArea();
    const int column = area.left() + int(33.0 / 100.0 * area.width());
    const auto darkRows = [&] {
        const QImage image = f.chart.renderImage(f.chart.size());
        int dark = 0;
        // Inside the axis lines; the dashes are smoothed, so grey counts, blue does not.
        for (int y = area.top() + 2; y <= area.bottom() - 2; ++y) {
            for (int dx = -1; dx <= 1; ++dx) {
                const QRgb c = image.pixel(column + dx, y);
                dark += qGray(c) < 170 && std::abs(qRed(c) - qBlue(c)) < 30 ? 1 : 0;
            }
        }
        return dark;
    };
    QCOMPARE(darkRows(), 0);
    f.chart.setMarkerVisible(true);
    QVERIFY2(darkRows() > area.height() / 3, "no marker line through the point");
    QCOMPARE(f.chart.markerX(), std::optional<double>(33));
}

QTEST_MAIN(TstChart2D)
#include "tst_chart2d.moc"
