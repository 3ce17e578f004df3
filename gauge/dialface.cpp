// Draws the brass-bezelled cream dial of the barometer: graduation 29 to 31 inHg,
// numbers, the classic weather words, the hub and the cover glass.
#include "dialface.h"

#include <QConicalGradient>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

#include <cmath>

namespace quillon {
namespace {

const QPointF Centre(CentreX, CentreY);
constexpr double BezelRadius = 724.0;
constexpr double FaceRadius = 648.0;
constexpr double ScaleRadius = 604.0; // outer edge of the graduation
const QColor Ink(0x2b, 0x21, 0x18);

QPointF polar(double compassDeg, double radius)
{
    const double a = compassDeg * M_PI / 180.0;
    return Centre + QPointF(radius * std::sin(a), -radius * std::cos(a));
}

QFont serifFont(double pixelSize, int weight = QFont::Normal)
{
    QFont f(QStringLiteral("DejaVu Serif"));
    f.setStyleHint(QFont::Serif, QFont::PreferAntialias);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setPixelSize(qRound(pixelSize));
    f.setWeight(QFont::Weight(weight));
    return f;
}

void paintBezel(QPainter &p)
{
    p.setPen(Qt::NoPen);
    // Soft shadow on the host window, falling a little downwards.
    QRadialGradient shadow(Centre + QPointF(0, 8), 740.0);
    shadow.setColorAt(0.93, QColor(0, 0, 0, 90));
    shadow.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.setBrush(shadow);
    p.drawEllipse(Centre + QPointF(0, 8), 732.0, 732.0);

    // Spun brass: a conical sweep of light and dark bands, then the light from above left.
    QConicalGradient spun(Centre, 60.0);
    const QColor light(0xf4, 0xdf, 0xa2), dark(0x8e, 0x67, 0x28), mid(0xc9, 0xa2, 0x58);
    for (int i = 0; i <= 8; ++i)
        spun.setColorAt(i / 8.0, i % 2 ? dark : light);
    spun.setColorAt(0.32, mid);
    spun.setColorAt(0.82, mid);
    p.setBrush(spun);
    p.setPen(QPen(QColor(0x4d, 0x37, 0x12), 6.0));
    p.drawEllipse(Centre, BezelRadius, BezelRadius);

    QLinearGradient lightFall(polar(315, BezelRadius), polar(135, BezelRadius));
    lightFall.setColorAt(0.0, QColor(255, 255, 240, 90));
    lightFall.setColorAt(0.5, QColor(255, 255, 255, 0));
    lightFall.setColorAt(1.0, QColor(40, 25, 0, 110));
    p.setPen(Qt::NoPen);
    p.setBrush(lightFall);
    p.drawEllipse(Centre, BezelRadius, BezelRadius);

    // The inner step of the bezel is lit the other way, so it reads as a recess.
    QLinearGradient step(polar(315, 690), polar(135, 690));
    step.setColorAt(0.0, QColor(0x6e, 0x4f, 0x1a));
    step.setColorAt(0.55, QColor(0xc8, 0xa0, 0x55));
    step.setColorAt(1.0, QColor(0xf7, 0xe6, 0xb0));
    p.setBrush(step);
    p.setPen(QPen(QColor(0x5a, 0x41, 0x16), 4.0));
    p.drawEllipse(Centre, 680.0, 680.0);
}

void paintFace(QPainter &p)
{
    QRadialGradient cream(Centre + QPointF(0, -90), 760.0);
    cream.setColorAt(0.0, QColor(0xff, 0xfb, 0xf0));
    cream.setColorAt(0.65, QColor(0xf6, 0xec, 0xd3));
    cream.setColorAt(1.0, QColor(0xe4, 0xd2, 0xa8));
    p.setPen(QPen(QColor(0x3a, 0x2a, 0x10), 5.0));
    p.setBrush(cream);
    p.drawEllipse(Centre, FaceRadius, FaceRadius);

    // The bezel's shadow on the face just inside the rim.
    QRadialGradient rimShadow(Centre, FaceRadius);
    rimShadow.setColorAt(0.90, QColor(0, 0, 0, 0));
    rimShadow.setColorAt(1.0, QColor(40, 25, 0, 75));
    p.setPen(Qt::NoPen);
    p.setBrush(rimShadow);
    p.drawEllipse(Centre, FaceRadius, FaceRadius);
}

void paintGraduation(QPainter &p)
{
    // Two fine rings bound the scale; they run clockwise from 29 (210 deg) to 31 (150 deg).
    QPainterPath rings;
    for (double r : {ScaleRadius, ScaleRadius - 34.0}) {
        const QRectF box(Centre.x() - r, Centre.y() - r, 2 * r, 2 * r);
        rings.arcMoveTo(box, 90.0 - 210.0);
        rings.arcTo(box, 90.0 - 210.0, -300.0);
    }
    p.setPen(QPen(Ink, 5.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(rings);

    // Every 0.02 inHg; longer every 0.1, longer again at the halves and whole inches.
    for (int hundredths = 2900; hundredths <= 3100; hundredths += 2) {
        double length = 34.0, width = 4.0;
        if (hundredths % 100 == 0) {
            length = 96.0;
            width = 13.0;
        } else if (hundredths % 50 == 0) {
            length = 80.0;
            width = 10.0;
        } else if (hundredths % 10 == 0) {
            length = 58.0;
            width = 6.5;
        }
        const double a = scaleAngle(hundredths / 100.0);
        p.setPen(QPen(Ink, width, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(polar(a, ScaleRadius), polar(a, ScaleRadius - length));
    }
}

void paintNumbers(QPainter &p)
{
    const QFont font = serifFont(118.0, QFont::DemiBold);
    p.setFont(font);
    p.setPen(Ink);
    const QFontMetricsF fm(font);
    for (int inches : {29, 30, 31}) {
        const QString text = QString::number(inches);
        const QPointF at = polar(scaleAngle(inches), 440.0);
        const double w = fm.horizontalAdvance(text);
        p.drawText(at + QPointF(-w / 2.0, fm.capHeight() / 2.0), text);
    }
}

// Lays `text` along a circle centred on compass angle `centreDeg`; in the lower half
// the letters face the centre so that the words still read left to right.
void paintArcText(QPainter &p, const QString &text, double centreDeg, double radius)
{
    const QFontMetricsF fm(p.font());
    const double spacing = fm.horizontalAdvance(QLatin1Char(' ')) * 0.25;
    double total = 0.0;
    for (QChar c : text)
        total += fm.horizontalAdvance(c) + spacing;
    total -= spacing;
    const double a0 = std::fmod(std::fmod(centreDeg, 360.0) + 360.0, 360.0);
    const bool lowerHalf = a0 > 90.0 && a0 < 270.0;
    const double degPerTwip = 180.0 / (M_PI * radius);
    double along = -total / 2.0;
    for (QChar c : text) {
        const double w = fm.horizontalAdvance(c);
        const double mid = along + w / 2.0;
        const double a = lowerHalf ? a0 - mid * degPerTwip : a0 + mid * degPerTwip;
        p.save();
        p.translate(Centre);
        p.rotate(lowerHalf ? a + 180.0 : a);
        const double baseline =
            lowerHalf ? radius + fm.capHeight() / 2.0 : -radius + fm.capHeight() / 2.0;
        p.drawText(QPointF(-w / 2.0, baseline), QString(c));
        p.restore();
        along += w + spacing;
    }
}

void paintWords(QPainter &p)
{
    p.setPen(QColor(0x4a, 0x36, 0x22));
    p.setFont(serifFont(60.0));
    paintArcText(p, QStringLiteral("RAIN"), scaleAngle(29.28), 352.0);
    paintArcText(p, QStringLiteral("CHANGE"), scaleAngle(29.72), 352.0);
    paintArcText(p, QStringLiteral("FAIR"), scaleAngle(30.28), 352.0);
    paintArcText(p, QStringLiteral("VERY DRY"), scaleAngle(30.72), 352.0);

    // The maker's line in the open space below the hub.
    QFont small = serifFont(42.0);
    small.setLetterSpacing(QFont::PercentageSpacing, 118.0);
    p.setFont(small);
    p.setPen(QColor(0x6b, 0x55, 0x3a));
    const QFontMetricsF fm(small);
    for (const auto &[text, y] : {std::pair{QStringLiteral("BAROMETER"), 1000.0},
                                  std::pair{QStringLiteral("INCHES"), 1262.0}}) {
        p.drawText(QPointF(CentreX - fm.horizontalAdvance(text) / 2.0, y), text);
    }
}

} // namespace

double scaleAngle(double inHg)
{
    if (inHg < 30.0)
        return 210.0 + 151.5151515 * (inHg - 29.0);
    return 150.0 * (inHg - 30.0);
}

void paintDialFace(QPainter &p)
{
    p.save();
    paintBezel(p);
    paintFace(p);
    paintGraduation(p);
    paintNumbers(p);
    paintWords(p);
    p.restore();
}

void paintHand(QPainter &p, const QPointF &fixedEnd, const QPointF &freeEnd, double width,
               const QColor &red)
{
    const QPointF span = freeEnd - fixedEnd;
    const double length = std::hypot(span.x(), span.y());
    if (length < 1.0)
        return;
    const QPointF along = span / length;
    const QPointF across(-along.y(), along.x());
    const double tipLength = qMin(70.0, length / 3.0);
    const QPointF neck = freeEnd - along * tipLength;
    QPolygonF needle;
    needle << fixedEnd + across * (width / 2.0) << neck + across * (width * 0.32) << freeEnd
           << neck - across * (width * 0.32) << fixedEnd - across * (width / 2.0);
    p.save();
    // A faint shadow on the face lifts the hand off the dial.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 30, 0, 45));
    p.drawPolygon(needle.translated(6.0, 10.0));
    p.setBrush(red);
    p.drawPolygon(needle);
    p.restore();
}

void paintHub(QPainter &p, const QRectF &rect, const QColor &red)
{
    p.save();
    QRadialGradient dome(rect.center() + QPointF(-rect.width() * 0.18, -rect.height() * 0.2),
                         rect.width() * 0.62);
    dome.setColorAt(0.0, red.lighter(150));
    dome.setColorAt(0.45, red);
    dome.setColorAt(1.0, red.darker(150));
    p.setPen(QPen(red.darker(220), 5.0));
    p.setBrush(dome);
    p.drawEllipse(rect);
    p.restore();
}

void paintGlass(QPainter &p)
{
    p.save();
    QRadialGradient sheen(Centre + QPointF(-250, -300), 560.0);
    sheen.setColorAt(0.0, QColor(255, 255, 255, 60));
    sheen.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sheen);
    p.drawEllipse(Centre, FaceRadius, FaceRadius);
    p.restore();
}

} // namespace quillon
