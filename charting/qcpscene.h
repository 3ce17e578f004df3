// The QCustomPlot adapter: builds the picture of a chart's settings and series.
#pragma once

#include "charting/chartsettings.h"

#include <QImage>

#include <array>
#include <memory>

class QPainter;

// A bound series with its data, as the scene draws it.
struct SceneSeries
{
    int group = 1;  // 1 or 2
    int series = 1; // position in the group
    QString name;
    const std::vector<double> *y = nullptr;
    SeriesStyle style;
};

struct SceneInput
{
    const ChartSettings *settings = nullptr;
    std::array<QVector<SceneSeries>, 2> groups;
    std::array<QStringList, 2> pointLabelTexts; // of each group's point-label field
    // The X of each record in seconds since the epoch; null = the record position.
    const std::vector<double> *keys = nullptr;
    // Zoomed or panned ranges per axis; empty = the set or automatic range.
    std::array<std::optional<std::pair<double, double>>, 3> view;
};

// Owns the QCustomPlot widget. build() redraws from scratch; the queries read the last
// build, so callers build first.
class QcpScene
{
public:
    explicit QcpScene(QWidget *parent);
    ~QcpScene();

    QWidget *widget() const;
    void build(const SceneInput &input);
    void replot();
    // Lays out at the widget's present size without painting.
    void layout();

    // Why (part of) the chart is not drawn; empty when all is drawn.
    QString problem() const;
    QRect plotArea() const;
    std::pair<double, double> range(ChartAxis axis) const;
    void setRange(ChartAxis axis, double lower, double upper);
    double pixelToValue(ChartAxis axis, double pixel) const;
    // Where a point is drawn, in widget pixels; false for a gap or a point not drawn.
    bool pointPixel(int group, int series, int point, QPointF *pixel) const;
    QStringList tickTexts(ChartAxis axis) const;
    // The X marker at a point of a series; hidden when the point is not drawn.
    void setMarker(bool visible, int group, int series, int point);
    void setView3D(int depth, int elevation, int rotation);

    // Rendered as pixels at size * scale, fonts and lines scaled alike.
    QImage render(QSize size, double scale = 1.0);
    // Drawn as vectors onto a painter whose user space is size pixels large.
    void paint(QPainter *painter, QSize size);

    struct Parts;

private:
    std::unique_ptr<Parts> p;
};
