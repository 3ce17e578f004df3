// Inside the QCustomPlot adapter: the parts of one scene. Only adapter sources include this.
#pragma once

#include "charting/chartpainting.h"
#include "charting/qcpscene.h"

#include <qcustomplot.h>

enum class SceneFrame { Cartesian, Polar, Pie };

class DepthLayerable;
class PieLayerable;

// One bound series as drawn: its plottable and the axes it stands on.
struct DrawnSeries
{
    SceneSeries series;
    ChartType type = ChartType::Plot;
    QCPAbstractPlottable *plottable = nullptr; // cartesian
    QCPPolarGraph *polarGraph = nullptr;       // polar
    QCPAxis *valueAxis = nullptr;
    double keyOffset = 0;     // side-by-side bars stand off the record position
    const std::vector<double> *keys = nullptr; // times of the points; null = positions
    double barWidth = 0;      // bars only
    std::vector<double> base; // stacking bars: the sum of those below; empty = 0
    double angleStep = 1;     // polar: degrees per record
};

struct QcpScene::Parts
{
    QCustomPlot *plot = nullptr;
    QCPTextElement *header = nullptr;
    QCPTextElement *footer = nullptr;
    QCPAxisRect *rect = nullptr;
    // The key of a drawn series' point: its time, or its record position.
    static double key(const DrawnSeries &d, int point)
    {
        return d.keys ? (*d.keys)[size_t(point)] : point + d.keyOffset;
    }
    QCPPolarAxisAngular *polar = nullptr;
    QCPLayoutGrid *legendBox = nullptr; // holds the legend beside the polar axes
    QCPItemTracer *marker = nullptr;
    DepthLayerable *depthLayer = nullptr;
    PieLayerable *pieLayer = nullptr;

    SceneInput input;
    SceneFrame frame = SceneFrame::Cartesian;
    bool timeKeys = false; // lines and areas drawn at input.keys on a date axis
    QStringList problems;
    std::vector<DrawnSeries> drawn;
    QVector<PieSlice> slices;
    int depth = 5, elevation = 0, rotation = 0;

    QCPAxis *axis(ChartAxis a) const;
    const DrawnSeries *find(int group, int series) const;
    void clear();
    void setFrame(SceneFrame frame);
    void buildAxes();
    void applyRanges();
    void buildGroup(int group);
    void buildPolarGroup(int group);
    void buildPie(int group);
    void buildLegend();
};

// Draws the depth of cartesian series behind them when the view is turned.
class DepthLayerable : public QCPLayerable
{
public:
    DepthLayerable(QCustomPlot *plot, QcpScene::Parts *parts);

protected:
    void applyDefaultAntialiasingHint(QCPPainter *painter) const override;
    QRect clipRect() const override;
    void draw(QCPPainter *painter) override;

private:
    void drawPolar(QCPPainter *painter);

    QcpScene::Parts *m_parts;
};

// Draws the pie into the axis rect.
class PieLayerable : public QCPLayerable
{
public:
    PieLayerable(QCustomPlot *plot, QcpScene::Parts *parts);

protected:
    void applyDefaultAntialiasingHint(QCPPainter *painter) const override;
    void draw(QCPPainter *painter) override;

private:
    QcpScene::Parts *m_parts;
};
