// Draws the wind vane's compass card and turns its arrow.
#include "ui/gauges/velmorgauge.h"

#include <QPainter>
#include <QPolygonF>

#include <cmath>

namespace {
constexpr double CardRadius = 405.0;
} // namespace

VelmorGauge::VelmorGauge(QWidget *parent) : BrassGauge(parent) {}

double VelmorGauge::needleAngle() const
{
    if (!std::isfinite(Value()))
        return 0.0;
    const double a = std::fmod(Value(), 360.0);
    return a < 0.0 ? (a + 360.0 < 360.0 ? a + 360.0 : 0.0) : a;
}

void VelmorGauge::paintScale(QPainter &p)
{
    // A faint eight-pointed rose under the arrow.
    for (int i = 0; i < 8; ++i) {
        const double a = i * 45.0;
        const double reach = i % 2 ? 170.0 : 270.0;
        QPolygonF point;
        point << polar(a - 90.0, 30.0) << polar(a, reach) << polar(a + 90.0, 30.0);
        p.setPen(QPen(QColor(0x9a, 0x84, 0x5c), 2.0));
        p.setBrush(i % 2 ? QColor(0xe9, 0xdb, 0xb8) : QColor(0xdc, 0xc8, 0x9c));
        p.drawPolygon(point);
    }

    p.setPen(QPen(Ink, 3.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(0, 0), CardRadius, CardRadius);
    for (int deg = 0; deg < 360; deg += 5) {
        double length = 18.0, width = 3.0;
        if (deg % 45 == 0) {
            length = 48.0;
            width = 7.0;
        } else if (deg % 15 == 0) {
            length = 32.0;
            width = 4.5;
        }
        p.setPen(QPen(Ink, width, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(polar(deg, CardRadius), polar(deg, CardRadius - length));
    }

    p.setPen(Ink);
    p.setFont(serifFont(74.0, QFont::DemiBold));
    const char *const cardinals[] = {"N", "E", "S", "W"};
    for (int i = 0; i < 4; ++i)
        drawCentredText(p, QString::fromLatin1(cardinals[i]), polar(i * 90.0, 300.0));
    p.setPen(QColor(0x4a, 0x36, 0x22));
    p.setFont(serifFont(38.0));
    const char *const between[] = {"NE", "SE", "SW", "NW"};
    for (int i = 0; i < 4; ++i)
        drawCentredText(p, QString::fromLatin1(between[i]), polar(45.0 + i * 90.0, 300.0));
}

void VelmorGauge::paintIndicator(QPainter &p)
{
    const double a = needleAngle();
    // The feathered tail points downwind, the red head into the wind.
    p.save();
    p.rotate(a);
    QPolygonF tail;
    tail << QPointF(-10, 0) << QPointF(10, 0) << QPointF(10, 250) << QPointF(45, 330)
         << QPointF(45, 360) << QPointF(0, 315) << QPointF(-45, 360) << QPointF(-45, 330)
         << QPointF(-10, 250);
    p.setPen(QPen(QColor(0x1e, 0x1a, 0x16), 2.0));
    p.setBrush(QColor(0x3a, 0x33, 0x2c));
    p.drawPolygon(tail);
    p.restore();
    paintNeedle(p, a, 370.0, 0.0, 30.0, IndicatorRed);
    paintHub(p, 40.0, QColor(0xb8, 0x8a, 0x3c));
}
