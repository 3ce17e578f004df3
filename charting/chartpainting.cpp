// Pie and depth painting onto any painter (screen, image, printer).
#include "charting/chartpainting.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

QPointF depthOffset(QSizeF area, int depth, int elevation, int rotation)
{
    if ((elevation == 0 && rotation == 0) || depth <= 0)
        return {};
    const double length = std::min(area.width(), area.height()) * std::min(depth, 100) / 100.0;
    const double dx = rotation;
    const double dy = elevation;
    const double norm = std::hypot(dx, dy);
    return {length * dx / norm, -length * dy / norm};
}

void paintPie(QPainter *painter, const QRectF &area, const QVector<PieSlice> &slices, int depth,
              int elevation, int rotation)
{
    double total = 0;
    for (const PieSlice &s : slices)
        total += s.value;
    if (total <= 0)
        return;
    const bool threeD = (elevation != 0 || rotation != 0) && depth > 0;
    const double side = std::min(area.width(), area.height()) * 0.8;
    // A tilted pie is an ellipse; its rim is as high as the depth asks.
    const double squash =
        threeD ? std::max(0.3, std::cos(std::min(std::abs(elevation), 70) * M_PI / 180.0 + 0.5))
               : 1.0;
    const double rim = threeD ? side * std::min(depth, 50) / 100.0 : 0.0;
    QRectF ellipse(0, 0, side, side * squash);
    ellipse.moveCenter(area.center() - QPointF(0, rim / 2));

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const int start0 = int(rotation * 16);
    if (threeD) {
        int start = start0;
        for (const PieSlice &s : slices) {
            const int span = int(std::lround(s.value / total * 5760));
            painter->setPen(s.color.darker(160));
            painter->setBrush(s.color.darker(140));
            for (double h = rim; h > 0; h -= 1.0)
                painter->drawPie(ellipse.translated(0, h), start, span);
            start += span;
        }
    }
    int start = start0;
    QFontMetricsF fm(painter->font());
    for (const PieSlice &s : slices) {
        const int span = int(std::lround(s.value / total * 5760));
        painter->setPen(QPen(s.color.darker(150), 1));
        painter->setBrush(s.brush == Qt::NoBrush ? QBrush(Qt::white) : QBrush(s.color, s.brush));
        painter->drawPie(ellipse, start, span);
        if (!s.label.isEmpty() && slices.size() <= 36) {
            const double mid = (start + span / 2.0) / 16.0 * M_PI / 180.0;
            const QPointF at(ellipse.center().x() + std::cos(mid) * ellipse.width() * 0.6,
                             ellipse.center().y() - std::sin(mid) * ellipse.height() * 0.6);
            QRectF box = fm.boundingRect(s.label);
            box.moveCenter(at);
            painter->setPen(Qt::black);
            painter->drawText(box, Qt::AlignCenter, s.label);
        }
        start += span;
    }
    painter->restore();
}

void paintDepthBand(QPainter *painter, const QPolygonF &line, QPointF offset, const QColor &color)
{
    if (line.size() < 2 || offset.isNull())
        return;
    QPolygonF band = line;
    for (auto it = line.crbegin(); it != line.crend(); ++it)
        band.append(*it + offset);
    QColor fill = color.lighter(150);
    fill.setAlpha(140);
    painter->save();
    painter->setPen(QPen(color.lighter(130), 1));
    painter->setBrush(fill);
    painter->drawPolygon(band, Qt::WindingFill);
    painter->drawPolyline(line.translated(offset));
    painter->restore();
}

void paintDepthBar(QPainter *painter, const QRectF &rect, QPointF offset, const QBrush &brush)
{
    if (offset.isNull())
        return;
    const QRectF r = rect.normalized();
    QColor base = brush.style() == Qt::NoBrush ? QColor(Qt::lightGray) : brush.color();
    const QPolygonF top{r.topLeft(), r.topRight(), r.topRight() + offset, r.topLeft() + offset};
    const QPolygonF side{r.topRight(), r.bottomRight(), r.bottomRight() + offset,
                         r.topRight() + offset};
    painter->save();
    painter->setPen(QPen(base.darker(170), 0));
    painter->setBrush(base.lighter(125));
    painter->drawPolygon(top);
    painter->setBrush(base.darker(135));
    painter->drawPolygon(side);
    painter->restore();
}
