// What QCustomPlot does not draw itself: pie slices and the 3D depth of series and bars.
#pragma once

#include <QBrush>
#include <QColor>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QVector>

class QPainter;

struct PieSlice
{
    double value = 0;
    QColor color;
    Qt::BrushStyle brush = Qt::SolidPattern;
    QString label;
};

// The offset of the back face in pixels: its length follows the depth (a percentage of
// the shorter side), its direction the rotation (x) and elevation (y). Flat at 0, 0.
QPointF depthOffset(QSizeF area, int depth, int elevation, int rotation);

// Pie in the area; rotation turns the first slice, elevation tilts it into an ellipse
// with a rim of the given depth.
void paintPie(QPainter *painter, const QRectF &area, const QVector<PieSlice> &slices, int depth,
              int elevation, int rotation);

// The side band of a line drawn back to its offset copy.
void paintDepthBand(QPainter *painter, const QPolygonF &line, QPointF offset, const QColor &color);

// The top and side faces of a bar whose front face is rect.
void paintDepthBar(QPainter *painter, const QRectF &rect, QPointF offset, const QBrush &brush);
