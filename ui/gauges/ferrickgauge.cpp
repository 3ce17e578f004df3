// Draws the thermometer dial and sets its mercury column.
#include "ui/gauges/ferrickgauge.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {
// The tube and the scale, in dial units (y downwards).
constexpr double ScaleBottom = 190.0; // -20 F
constexpr double ScaleTop = -315.0;   // 120 F
constexpr double TubeHalfWidth = 17.0;
constexpr double TubeTop = -350.0;
constexpr double BulbY = 275.0;
constexpr double BulbRadius = 50.0;
constexpr double BoreHalfWidth = 8.0;

double yFor(double fraction)
{
    return ScaleBottom + (ScaleTop - ScaleBottom) * fraction;
}

double yForDegrees(double f)
{
    return yFor((f - FerrickGauge::Minimum) / (FerrickGauge::Maximum - FerrickGauge::Minimum));
}
} // namespace

FerrickGauge::FerrickGauge(QWidget *parent) : BrassGauge(parent) {}

double FerrickGauge::mercuryFraction() const
{
    // A temperature that is not a number leaves the column at the bottom of the scale.
    if (std::isnan(Value()))
        return 0.0;
    return std::clamp((Value() - Minimum) / (Maximum - Minimum), 0.0, 1.0);
}

double FerrickGauge::mercuryTopY() const
{
    return dialToWidget().map(QPointF(0.0, yFor(mercuryFraction()))).y();
}

void FerrickGauge::paintScale(QPainter &p)
{
    // Fine graduation right of the tube every 2 F; left of it every 10, with the numbers.
    for (int f = -20; f <= 120; f += 2) {
        const double y = yForDegrees(f);
        double length = 22.0, width = 2.5;
        if (f % 10 == 0) {
            length = 52.0;
            width = 5.5;
        } else if (f % 5 == 0) {
            length = 36.0;
            width = 4.0;
        }
        p.setPen(QPen(Ink, width, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(TubeHalfWidth + 10, y), QPointF(TubeHalfWidth + 10 + length, y));
        if (f % 10 == 0)
            p.drawLine(QPointF(-TubeHalfWidth - 10, y), QPointF(-TubeHalfWidth - 36, y));
    }
    p.setPen(Ink);
    p.setFont(serifFont(44.0, QFont::DemiBold));
    const QFontMetricsF fm(p.font());
    for (int f = -20; f <= 120; f += 20) {
        const QString text = QString::number(f);
        p.drawText(QPointF(-TubeHalfWidth - 50 - fm.horizontalAdvance(text),
                           yForDegrees(f) + fm.capHeight() / 2.0),
                   text);
    }

    p.setPen(QColor(0x4a, 0x36, 0x22));
    p.setFont(serifFont(66.0));
    drawCentredText(p, QStringLiteral("\u00b0F"), QPointF(205.0, -110.0));
    QFont small = serifFont(30.0);
    small.setLetterSpacing(QFont::PercentageSpacing, 120.0);
    p.setFont(small);
    p.setPen(QColor(0x6b, 0x55, 0x3a));
    drawCentredText(p, QStringLiteral("OUTSIDE"), QPointF(205.0, -20.0));

    // The glass tube and bulb; the mercury is drawn into them on every paint.
    QPainterPath glass;
    glass.addRoundedRect(QRectF(-TubeHalfWidth, TubeTop, 2 * TubeHalfWidth, BulbY - TubeTop),
                         TubeHalfWidth, TubeHalfWidth);
    glass.addEllipse(QPointF(0, BulbY), BulbRadius, BulbRadius);
    glass = glass.simplified();
    QLinearGradient tube(QPointF(-BulbRadius, 0), QPointF(BulbRadius, 0));
    tube.setColorAt(0.0, QColor(0xd8, 0xd8, 0xd0));
    tube.setColorAt(0.35, QColor(0xfc, 0xfc, 0xf8));
    tube.setColorAt(1.0, QColor(0xc4, 0xc2, 0xb8));
    p.setPen(QPen(QColor(0x7a, 0x70, 0x60), 3.0));
    p.setBrush(tube);
    p.drawPath(glass);
}

void FerrickGauge::paintIndicator(QPainter &p)
{
    const double top = yFor(mercuryFraction());
    p.setPen(Qt::NoPen);
    p.setBrush(IndicatorRed);
    p.drawEllipse(QPointF(0, BulbY), BulbRadius - 12.0, BulbRadius - 12.0);
    p.drawRect(QRectF(-BoreHalfWidth, top, 2 * BoreHalfWidth, BulbY - top));
    // A glint on the bulb so it reads as glass over mercury.
    p.setBrush(QColor(255, 255, 255, 110));
    p.drawEllipse(QPointF(-14, BulbY - 16), 11.0, 8.0);
}
