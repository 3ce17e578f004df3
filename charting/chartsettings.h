// Every style and setting of a chart, as one value: what the format file stores.
#pragma once

#include "charting/chart2d.h"

#include <QMap>

#include <array>

struct AxisSettings
{
    QString title;
    std::optional<double> minimum;
    std::optional<double> maximum;
    std::optional<double> gridSpacing; // 0 = no grid, empty = automatic
    QFont labelFont;
    AxisAnnotation annotation = AxisAnnotation::Values;
    AxisAnnotation tickAnnotation = AxisAnnotation::Values;
    QMap<double, QString> valueLabels;

    bool operator==(const AxisSettings &o) const;
};

struct GroupSettings
{
    QStringList fields;
    ChartType type = ChartType::Plot;
    DrawingOrder order = DrawingOrder::Front;
    bool seriesLabels = false;
    QMap<int, QString> pointLabels;
    QString pointLabelField;
    QVector<SeriesStyle> styles; // by series position - 1; grows on demand

    bool operator==(const GroupSettings &o) const;
};

struct ChartSettings
{
    ChartSettings();

    int widthTwips = 0;
    int heightTwips = 0;
    QString header;
    QString footer;
    QFont headerFont;
    QFont footerFont;
    QFont legendFont;
    QColor background = Qt::white;
    std::array<AxisSettings, 3> axes; // X, Y, Y2
    int depth = 5;
    int elevation = 0;
    int rotation = 0;
    bool markerVisible = false;
    std::array<GroupSettings, 2> groups;
    QVector<MouseBinding> bindings;

    AxisSettings &axis(ChartAxis a) { return axes[size_t(a)]; }
    const AxisSettings &axis(ChartAxis a) const { return axes[size_t(a)]; }
    bool operator==(const ChartSettings &o) const;
};

bool operator==(const SeriesStyle &a, const SeriesStyle &b);
bool operator==(const MouseBinding &a, const MouseBinding &b);

// The style a series has before anyone sets it: colours from a fixed palette.
SeriesStyle defaultSeriesStyle(int group, int series);

bool isChartType(int value);
bool isFillPattern(int value);
bool isSymbolShape(int value);
Qt::BrushStyle brushStyle(FillPattern fill);
// HiLo needs 2 series per set, HiLoOpenClose and Candle 4, the rest 1.
int seriesPerSet(ChartType type);
bool isPolarType(ChartType type);
