// Draws the wind speed dial and turns its needle.
#include "ui/gauges/tamselgauge.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {
constexpr double Sweep = 270.0; // degrees from 0 mph to 100 mph
constexpr double ScaleRadius = 405.0;
constexpr double GaleFrom = 60.0; // the band where gusts do damage

double angleFor(double mph)
{
    return -Sweep / 2.0 + Sweep * mph / TamselGauge::Maximum;
}
} // namespace

TamselGauge::TamselGauge(QWidget *parent) : BrassGauge(parent) {}

double TamselGauge::needleAngle() const
{
    // A speed that is not a number rests on the zero stop.
    const double mph = std::isnan(Value()) ? 0.0 : std::clamp(Value(), 0.0, Maximum);
    return angleFor(mph);
}

void TamselGauge::paintScale(QPainter &p)
{
    // A muted red band marks gale-force gusts.
    const QRectF band(-ScaleRadius + 14, -ScaleRadius + 14, 2 * ScaleRadius - 28,
                      2 * ScaleRadius - 28);
    QPen galePen(QColor(0xb0, 0x30, 0x20, 150), 26.0, Qt::SolidLine, Qt::FlatCap);
    p.setPen(galePen);
    p.setBrush(Qt::NoBrush);
    p.drawArc(band, qRound((90.0 - angleFor(GaleFrom)) * 16),
              qRound(-(angleFor(Maximum) - angleFor(GaleFrom)) * 16));

    QPainterPath ring;
    const QRectF box(-ScaleRadius, -ScaleRadius, 2 * ScaleRadius, 2 * ScaleRadius);
    ring.arcMoveTo(box, 90.0 - angleFor(0));
    ring.arcTo(box, 90.0 - angleFor(0), -Sweep);
    p.setPen(QPen(Ink, 3.5));
    p.drawPath(ring);

    for (int mph = 0; mph <= 100; mph += 2) {
        double length = 22.0, width = 3.0;
        if (mph % 10 == 0) {
            length = 60.0;
            width = 8.0;
        } else if (mph % 5 == 0) {
            length = 40.0;
            width = 5.0;
        }
        const double a = angleFor(mph);
        p.setPen(QPen(Ink, width, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(polar(a, ScaleRadius), polar(a, ScaleRadius - length));
    }

    p.setPen(Ink);
    p.setFont(serifFont(58.0, QFont::DemiBold));
    for (int mph = 0; mph <= 100; mph += 10)
        drawCentredText(p, QString::number(mph), polar(angleFor(mph), 290.0));

    p.setPen(QColor(0x4a, 0x36, 0x22));
    p.setFont(serifFont(50.0));
    drawCentredText(p, QStringLiteral("MPH"), QPointF(0, 165));
    QFont small = serifFont(30.0);
    small.setLetterSpacing(QFont::PercentageSpacing, 120.0);
    p.setFont(small);
    p.setPen(QColor(0x6b, 0x55, 0x3a));
    drawCentredText(p, QStringLiteral("WIND GUST"), QPointF(0, 330));
}

void TamselGauge::paintIndicator(QPainter &p)
{
    paintNeedle(p, needleAngle(), 370.0, 70.0, 26.0, IndicatorRed);
    paintHub(p, 44.0, IndicatorRed);
}
