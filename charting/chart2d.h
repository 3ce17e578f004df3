// Chart2D: the chart component of the chart window and of the daily graphs.
#pragma once

#include "charting/chartdata.h"
#include "charting/charttypes.h"

#include <QColor>
#include <QFont>
#include <QVector>
#include <QWidget>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QPaintDevice;
class QPainter;

// The look of one series: its line, its fill and its symbol.
struct SeriesStyle
{
    QColor lineColor;
    int lineWidth = 1;
    FillPattern fill = FillPattern::Solid;
    SymbolShape symbol = SymbolShape::None;
};

struct MouseBinding
{
    int message = 0;  // ChartMessage
    int modifier = 0; // 1 = left button held (mouse move), else Qt-independent key state
    int key = 0;      // key code for KeyDown (27 = Escape)
    int action = 0;   // ChartAction
};

// Two chart groups (1 on axis "Y", 2 on axis "Y2") of bound fields drawn from a
// ChartData, X being the record position. Groups and series are 1-based, points 0-based.
// A change of settings is drawn once the event loop next runs, unless redrawing is
// suspended; refresh() re-reads the data source and draws at once. Queries (ranges,
// texts, pictures) always see the settings as they are.
class Chart2D : public QWidget
{
    Q_OBJECT
public:
    explicit Chart2D(QWidget *parent = nullptr);
    ~Chart2D() override;

    // The data source is not owned; it must outlive the chart or be replaced first.
    void setDataSource(const ChartData *data);
    const ChartData *dataSource() const;
    // A field whose values are seconds since the epoch, increasing: line and area series
    // are drawn at those times and the X axis labels dates, in steps that follow the zoom.
    // While a group has another chart type, both keep record positions. Empty (the
    // default) = record positions.
    void setTimeField(const QString &field);
    QString timeField() const;

    // Control.
    void setWidthTwips(int twips);
    int widthTwips() const;
    void setHeightTwips(int twips);
    int heightTwips() const;
    void refresh();
    void suspendRedraw();
    void resumeRedraw();
    bool isRedrawSuspended() const;

    // Header, footer, legend, background.
    void setHeaderText(const QString &text);
    QString headerText() const;
    void setHeaderFont(const QFont &font);
    QFont headerFont() const;
    void setFooterText(const QString &text);
    QString footerText() const;
    // What the footer shows: the footer text, or why the chart type cannot be drawn.
    QString shownFooterText() const;
    void setFooterFont(const QFont &font);
    QFont footerFont() const;
    void setLegendFont(const QFont &font);
    QFont legendFont() const;
    void setBackgroundColor(const QColor &color);
    QColor backgroundColor() const;

    // Axes "X", "Y", "Y2". An empty optional means automatic.
    void setAxisTitle(ChartAxis axis, const QString &title);
    QString axisTitle(ChartAxis axis) const;
    void setAxisMinimum(ChartAxis axis, std::optional<double> value);
    std::optional<double> axisMinimum(ChartAxis axis) const;
    void setAxisMaximum(ChartAxis axis, std::optional<double> value);
    std::optional<double> axisMaximum(ChartAxis axis) const;
    // The range drawn at present (set, automatic, zoomed or panned).
    std::pair<double, double> axisRange(ChartAxis axis) const;
    // 0 = no grid; empty = automatic spacing.
    void setGridSpacing(ChartAxis axis, std::optional<double> spacing);
    std::optional<double> gridSpacing(ChartAxis axis) const;
    void setAxisLabelFont(ChartAxis axis, const QFont &font);
    QFont axisLabelFont(ChartAxis axis) const;
    void setAnnotation(ChartAxis axis, AxisAnnotation mode);
    AxisAnnotation annotation(ChartAxis axis) const;
    void setTickAnnotation(ChartAxis axis, AxisAnnotation mode);
    AxisAnnotation tickAnnotation(ChartAxis axis) const;
    // Value labels; a second label at the same value replaces the first.
    void addValueLabel(ChartAxis axis, double value, const QString &text);
    void clearValueLabels(ChartAxis axis);
    QVector<std::pair<double, QString>> valueLabels(ChartAxis axis) const;
    // The tick texts the axis draws at present.
    QStringList shownAxisTexts(ChartAxis axis) const;

    // Chart area: 3D view and the X marker.
    void setDepth3D(int depth);
    int depth3D() const;
    void setElevation3D(int degrees);
    int elevation3D() const;
    void setRotation3D(int degrees);
    int rotation3D() const;
    bool is3D() const;
    void setMarkerVisible(bool visible);
    bool isMarkerVisible() const;
    // Moves the marker to a point of a series; false when there is no such point.
    bool moveMarkerTo(int group, int series, int point);
    // The X of the marker's point, or empty while it stands nowhere.
    std::optional<double> markerX() const;

    // Chart groups 1 and 2.
    int boundFieldCount(int group) const;
    QStringList boundFields(int group) const;
    void addBoundField(int group, const QString &field);
    // false when the position is not 1..count.
    bool removeBoundField(int group, int position);
    void setChartType(int group, ChartType type);
    ChartType chartType(int group) const;
    void setDrawingOrder(int group, DrawingOrder order);
    DrawingOrder drawingOrder(int group) const;
    // Shows the series names in a legend.
    void setSeriesLabels(int group, bool on);
    bool seriesLabels(int group) const;
    void clearPointLabels(int group);
    void setPointLabel(int group, int point, const QString &text);
    // The point's own label, else the point-label field's text, else empty.
    QString pointLabel(int group, int point) const;
    void setPointLabelField(int group, const QString &field);
    QString pointLabelField(int group) const;

    // Series styles, kept by series position whether or not a field is bound there.
    SeriesStyle seriesStyle(int group, int series) const;
    void setSeriesStyle(int group, int series, const SeriesStyle &style);
    void setLineColor(int group, int series, const QColor &color);
    void setLineWidth(int group, int series, int width);
    void setFillPattern(int group, int series, FillPattern fill);
    void setSymbolShape(int group, int series, SymbolShape shape);

    // Series data.
    int pointCount(int group, int series) const;
    std::vector<double> yValues(int group, int series) const;
    // NaN when the point is missing or out of range.
    double yValue(int group, int series, int point) const;
    // The point of the series drawn nearest to a widget pixel; -1 when it has none.
    int nearestPoint(int group, int series, QPoint pixel) const;
    // The rectangle in widget pixels that the axes span.
    QRect plotArea() const;

    // Mouse actions.
    void clearMouseBindings();
    void addMouseBinding(const MouseBinding &binding);
    QVector<MouseBinding> mouseBindings() const;
    // Performs a ChartAction at a widget pixel; false for an unknown action.
    bool performAction(int action, QPoint pixel);

    // Output.
    QImage renderImage(QSize size) const;
    // JPEG of the chart at its present size; quality 0..100.
    bool saveJpeg(const QString &path, int quality, bool grayscale, bool progressive,
                  bool optimize) const;
    bool copyToClipboard(ClipboardFormat format) const;
    // Draws onto a paint device (a printer's page) inside left, top, width, height
    // (device pixels). false for an unknown code or an unpaintable device.
    bool print(QPaintDevice *device, PrintFormat format, PrintScaling scaling, int left, int top,
               int width, int height) const;
    // The same onto an active painter, so that a caller can print several pages.
    bool print(QPainter *painter, PrintFormat format, PrintScaling scaling, int left, int top,
               int width, int height) const;
    // The chart format file: every style and setting, not the bound fields' data.
    bool saveFormat(const QString &path, QString *error = nullptr) const;
    // A damaged file or one from a newer version is refused; the chart stays unchanged.
    bool loadFormat(const QString &path, QString *error = nullptr);

signals:
    // The pointer over the chart, in twips from the chart's top left.
    void mouseAt(int xTwips, int yTwips);
    // Action Pick: the point nearest the pointer among all bound series.
    void pointPicked(int group, int series, int point);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
