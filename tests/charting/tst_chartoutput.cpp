// The chart's output: the format file, JPEG pictures, printing and the clipboard.
#include "charting/chart2d.h"
#include "fakes/filebytes.h"

#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A chart with something other than the default in every kind of setting.
void styleEverything(Chart2D &chart)
{
    chart.resize(700, 500);
    chart.setHeaderText("Temperature");
    chart.setHeaderFont(QFont("Arial", 16));
    chart.setFooterText("Minimum=3");
    chart.setLegendFont(QFont("Arial", 7));
    chart.setBackgroundColor(QColor(250, 240, 200));
    chart.setAxisTitle(ChartAxis::Y, "Temperature & Dewpoint");
    chart.setAxisMinimum(ChartAxis::Y, -10);
    chart.setAxisMaximum(ChartAxis::X, 100);
    chart.setGridSpacing(ChartAxis::X, 0);
    chart.setGridSpacing(ChartAxis::Y2, 5);
    chart.setAxisLabelFont(ChartAxis::X, QFont("Arial", 14));
    chart.setAnnotation(ChartAxis::X, AxisAnnotation::ValueLabels);
    chart.setTickAnnotation(ChartAxis::X, AxisAnnotation::ValueLabels);
    chart.addValueLabel(ChartAxis::X, 0, "3/1/2026");
    chart.addValueLabel(ChartAxis::X, 12, "3/1/2026 1:00:00 AM");
    chart.setDepth3D(7);
    chart.setElevation3D(5);
    chart.setRotation3D(10);
    chart.setMarkerVisible(true);
    chart.addBoundField(1, "Temperature");
    chart.addBoundField(2, "Humidity");
    chart.setChartType(2, ChartType::StackingBar);
    chart.setDrawingOrder(2, DrawingOrder::Front);
    chart.setSeriesLabels(1, true);
    chart.setPointLabel(1, 3, "three");
    chart.setPointLabelField(2, "Date");
    chart.setSeriesStyle(
        1, 2, SeriesStyle{QColor(1, 2, 3), 4, FillPattern::CrossHatched, SymbolShape::Star});
    chart.addMouseBinding(MouseBinding{513, 0, 0, 6});
}

} // namespace

class TstChartOutput : public QObject
{
    Q_OBJECT
private slots:
    void formatFileRoundTrips();
    void refusedFormatLeavesChartUnchanged_data();
    void refusedFormatLeavesChartUnchanged();
    void jpegHasChartSize();
    void printStaysInsideMargins_data();
    void printStaysInsideMargins();
    void clipboardTakesPicture();

private:
    QTemporaryDir m_dir;
};

void TstChartOutput::formatFileRoundTrips()
{
    Chart2D styled;
    styleEverything(styled);
    const QString first = m_dir.filePath("styled.json");
    QVERIFY(styled.saveFormat(first));

    Chart2D loaded;
    QString error;
    QVERIFY2(loaded.loadFormat(first, &error), qPrintable(error));
    const QString second = m_dir.filePath("again.json");
    QVERIFY(loaded.saveFormat(second));
    QCOMPARE(readBytes(second), readBytes(first));
    // Spot checks that the values came back, not only the bytes.
    QCOMPARE(loaded.size(), QSize(700, 500));
    QCOMPARE(loaded.axisMinimum(ChartAxis::Y), std::optional<double>(-10));
    QCOMPARE(loaded.axisMinimum(ChartAxis::X), std::nullopt);
    QCOMPARE(loaded.gridSpacing(ChartAxis::X), std::optional<double>(0));
    QCOMPARE(loaded.chartType(2), ChartType::StackingBar);
    QCOMPARE(loaded.drawingOrder(1), DrawingOrder::Back);
    QCOMPARE(loaded.seriesStyle(1, 2).symbol, SymbolShape::Star);
    QCOMPARE(loaded.valueLabels(ChartAxis::X).size(), 2);
    QCOMPARE(loaded.mouseBindings().size(), 1);
}

void TstChartOutput::refusedFormatLeavesChartUnchanged_data()
{
    Chart2D styled;
    styleEverything(styled);
    const QString path = m_dir.filePath("base.json");
    QVERIFY(styled.saveFormat(path));
    const QByteArray good = readBytes(path);
    const auto edited = [&](const char *key, const QJsonValue &value) {
        QJsonObject o = QJsonDocument::fromJson(good).object();
        o.insert(QLatin1String(key), value);
        return QJsonDocument(o).toJson();
    };
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("reason");
    QTest::newRow("newer version") << edited("version", 2) << "newer version";
    QTest::newRow("cut short") << good.left(good.size() / 2) << "damaged";
    QTest::newRow("empty") << QByteArray() << "damaged";
    QTest::newRow("no groups") << edited("groups", QJsonValue(QJsonArray{})) << "damaged";
    QTest::newRow("depth text") << edited("depth", "deep") << "damaged";
    QTest::newRow("bad colour") << edited("background", "#zz") << "damaged";
    QTest::newRow("other JSON") << QByteArray("{\"a\": 1}") << "not a chart format";
}

void TstChartOutput::refusedFormatLeavesChartUnchanged()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, reason);
    const QString path = m_dir.filePath("refused.json");
    writeBytes(path, file);

    Chart2D chart;
    chart.setHeaderText("before");
    chart.addBoundField(1, "Temperature");
    const QString before = m_dir.filePath("before.json");
    QVERIFY(chart.saveFormat(before));
    QString error;
    QVERIFY(!chart.loadFormat(path, &error));
    QVERIFY2(error.contains(reason), qPrintable(error));
    const QString after = m_dir.filePath("after.json");
    QVERIFY(chart.saveFormat(after));
    QCOMPARE(readBytes(after), readBytes(before));
}

void TstChartOutput::jpegHasChartSize()
{
    MemoryChartData data;
    data.setValues("T", {1, 3, 2, 5});
    Chart2D chart;
    chart.setDataSource(&data);
    chart.addBoundField(1, "T");
    chart.setWidthTwips(1024 * 15);
    chart.setHeightTwips(768 * 15);
    for (bool flag : {false, true}) {
        const QString path = m_dir.filePath(QString("chart%1.jpg").arg(flag));
        QVERIFY(chart.saveJpeg(path, 100, flag, flag, flag));
        QImageReader reader(path);
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        QCOMPARE(reader.size(), QSize(1024, 768));
    }
    QVERIFY(!chart.saveJpeg(m_dir.filePath("no/such/folder.jpg"), 100, false, false, false));
}

void TstChartOutput::printStaysInsideMargins_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("scaling");
    QTest::addColumn<bool>("fillsWidth");
    QTest::addColumn<bool>("fillsHeight");
    QTest::addColumn<QSize>("chartSize");
    // The shape of the chart is chosen so that the other side is not cut off.
    QTest::newRow("standard 4/4") << 4 << 4 << false << false << QSize(400, 300);
    QTest::newRow("fit to page 3/5") << 3 << 5 << true << true << QSize(400, 300);
    QTest::newRow("fit to page 4/5") << 4 << 5 << true << true << QSize(400, 300);
    QTest::newRow("fit to height 4/3") << 4 << 3 << false << true << QSize(300, 400);
    QTest::newRow("fit to width 4/2") << 4 << 2 << true << false << QSize(400, 150);
}

void TstChartOutput::printStaysInsideMargins()
{
    QFETCH(int, format);
    QFETCH(int, scaling);
    QFETCH(bool, fillsWidth);
    QFETCH(bool, fillsHeight);
    QFETCH(QSize, chartSize);
    Chart2D chart;
    chart.resize(chartSize);
    chart.setBackgroundColor(Qt::red);
    // A landscape page at 96 dpi: wider than the chart's shape.
    QImage page(1400, 800, QImage::Format_RGB32);
    page.fill(Qt::white);
    const QRect inside(25, 25, page.width() - 275, page.height() - 150);
    QVERIFY(chart.print(&page, PrintFormat(format), PrintScaling(scaling), inside.x(), inside.y(),
                        inside.width(), inside.height()));
    QRect red;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            if (page.pixelColor(x, y) == Qt::red)
                red |= QRect(x, y, 1, 1);
        }
    }
    QVERIFY(inside.contains(red));
    QCOMPARE(red.topLeft(), inside.topLeft());
    QCOMPARE(std::abs(red.width() - inside.width()) <= 1, fillsWidth);
    QCOMPARE(std::abs(red.height() - inside.height()) <= 1, fillsHeight);
}

void TstChartOutput::clipboardTakesPicture()
{
    Chart2D chart;
    QVERIFY(chart.copyToClipboard(ClipboardFormat::BitmapAndVector));
    QVERIFY(chart.copyToClipboard(ClipboardFormat::Bitmap));
    QVERIFY(!chart.copyToClipboard(ClipboardFormat(1)));
    QImage page(100, 100, QImage::Format_RGB32);
    QVERIFY(!chart.print(&page, PrintFormat(2), PrintScaling::Standard, 0, 0, 100, 100));
    QVERIFY(!chart.print(&page, PrintFormat::Vector, PrintScaling(6), 0, 0, 100, 100));
}

QTEST_MAIN(TstChartOutput)
#include "tst_chartoutput.moc"
