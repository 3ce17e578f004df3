// Inside Chart2D: its settings, the data read for the bound fields, view and mouse state.
#pragma once

#include "charting/chart2d.h"
#include "charting/chartsettings.h"
#include "charting/qcpscene.h"

class QRubberBand;

struct Chart2D::Private
{
    explicit Private(Chart2D *chart);

    Chart2D *q;
    ChartSettings s;
    const ChartData *data = nullptr;
    // The values of each group's bound fields, in binding order.
    std::array<std::vector<std::vector<double>>, 2> values;
    std::array<QStringList, 2> labelTexts; // of the point-label fields
    QString timeField;        // empty: X is the record position
    std::vector<double> keys; // the time field's values, seconds since the epoch
    std::unique_ptr<QcpScene> scene;
    std::array<std::optional<std::pair<double, double>>, 3> view;
    struct Marker
    {
        int group, series, point;
    };
    std::optional<Marker> marker;
    int suspended = 0;
    bool dirty = true;
    bool scheduled = false;

    // Mouse: the drag or zoom box in progress.
    bool dragging = false;
    QPoint dragStart;
    std::array<std::pair<double, double>, 3> dragRanges;
    int dragDepth = 0, dragElevation = 0, dragRotation = 0;
    bool zooming = false;
    QPoint zoomStart;
    QRubberBand *band = nullptr;
    Qt::MouseButtons buttons; // as the last mouse event over the chart left them

    GroupSettings &group(int g) { return s.groups[size_t(g - 1)]; }
    const GroupSettings &group(int g) const { return s.groups[size_t(g - 1)]; }
    static bool validGroup(int g) { return g == 1 || g == 2; }
    const std::vector<double> *series(int g, int series) const;
    SeriesStyle &style(int g, int series);

    void load(int g);
    void loadKeys();
    void loadLabels(int g);
    // A setting changed: build again before the next picture.
    void changed();
    // Only the view (ranges, 3D angles) changed: no new build needed.
    void viewChanged();
    void ensureBuilt();
    void redrawNow();
};
