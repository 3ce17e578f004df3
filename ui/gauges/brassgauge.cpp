// Bezel, face, glass and the shared drawing helpers of the stand-in gauges.
#include "ui/gauges/brassgauge.h"

#include <QConicalGradient>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>
#include <QRadialGradient>

#include <cmath>

const QColor BrassGauge::Ink(0x2b, 0x21, 0x18);
const QColor BrassGauge::IndicatorRed(255, 0, 0);

namespace {
const QPointF Centre(0.0, 0.0);
constexpr double BezelRadius = 490.0;
constexpr double StepRadius = 460.0;
} // namespace

BrassGauge::BrassGauge(QWidget *parent) : QWidget(parent) {}

void BrassGauge::setValue(double value)
{
    m_value = value;
    update();
}

void BrassGauge::Redraw()
{
    update();
}

QTransform BrassGauge::dialToWidget() const
{
    const qreal side = qMin(width(), height());
    const qreal scale = side / (2.0 * Radius);
    QTransform t;
    t.translate(width() / 2.0, height() / 2.0);
    t.scale(scale, scale);
    return t;
}

QSize BrassGauge::sizeHint() const
{
    return QSize(100, 100);
}

QSize BrassGauge::minimumSizeHint() const
{
    return QSize(40, 40);
}

QPointF BrassGauge::polar(double compassDeg, double radius)
{
    const double a = compassDeg * M_PI / 180.0;
    return QPointF(radius * std::sin(a), -radius * std::cos(a));
}

QFont BrassGauge::serifFont(double pixelSize, int weight)
{
    QFont f(QStringLiteral("DejaVu Serif"));
    f.setStyleHint(QFont::Serif, QFont::PreferAntialias);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setPixelSize(qMax(1, qRound(pixelSize)));
    f.setWeight(QFont::Weight(weight));
    return f;
}

void BrassGauge::drawCentredText(QPainter &p, const QString &text, const QPointF &centre)
{
    const QFontMetricsF fm(p.font());
    p.drawText(centre + QPointF(-fm.horizontalAdvance(text) / 2.0, fm.capHeight() / 2.0), text);
}

void BrassGauge::paintNeedle(QPainter &p, double compassDeg, double length, double tail,
                             double width, const QColor &colour)
{
    QPolygonF needle;
    needle << QPointF(-width / 2.0, tail) << QPointF(-width * 0.3, -length + 45.0)
           << QPointF(0.0, -length) << QPointF(width * 0.3, -length + 45.0)
           << QPointF(width / 2.0, tail);
    p.save();
    p.rotate(compassDeg);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 30, 0, 45));
    p.drawPolygon(needle.translated(4.0, 7.0));
    p.setBrush(colour);
    p.drawPolygon(needle);
    p.restore();
}

void BrassGauge::paintHub(QPainter &p, double radius, const QColor &colour)
{
    QRadialGradient dome(QPointF(-radius * 0.35, -radius * 0.4), radius * 1.25);
    dome.setColorAt(0.0, colour.lighter(150));
    dome.setColorAt(0.45, colour);
    dome.setColorAt(1.0, colour.darker(150));
    p.setPen(QPen(colour.darker(220), 3.5));
    p.setBrush(dome);
    p.drawEllipse(Centre, radius, radius);
}

void BrassGauge::paintBody(QPainter &p)
{
    p.setPen(Qt::NoPen);
    QRadialGradient shadow(QPointF(0, 5), Radius);
    shadow.setColorAt(0.93, QColor(0, 0, 0, 90));
    shadow.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.setBrush(shadow);
    p.drawEllipse(QPointF(0, 5), 495.0, 495.0);

    // Spun brass, lit from the upper left, with a recessed inner step.
    QConicalGradient spun(Centre, 60.0);
    const QColor light(0xf4, 0xdf, 0xa2), dark(0x8e, 0x67, 0x28), mid(0xc9, 0xa2, 0x58);
    for (int i = 0; i <= 8; ++i)
        spun.setColorAt(i / 8.0, i % 2 ? dark : light);
    spun.setColorAt(0.32, mid);
    spun.setColorAt(0.82, mid);
    p.setBrush(spun);
    p.setPen(QPen(QColor(0x4d, 0x37, 0x12), 4.0));
    p.drawEllipse(Centre, BezelRadius, BezelRadius);

    QLinearGradient lightFall(polar(315, BezelRadius), polar(135, BezelRadius));
    lightFall.setColorAt(0.0, QColor(255, 255, 240, 90));
    lightFall.setColorAt(0.5, QColor(255, 255, 255, 0));
    lightFall.setColorAt(1.0, QColor(40, 25, 0, 110));
    p.setPen(Qt::NoPen);
    p.setBrush(lightFall);
    p.drawEllipse(Centre, BezelRadius, BezelRadius);

    QLinearGradient step(polar(315, StepRadius), polar(135, StepRadius));
    step.setColorAt(0.0, QColor(0x6e, 0x4f, 0x1a));
    step.setColorAt(0.55, QColor(0xc8, 0xa0, 0x55));
    step.setColorAt(1.0, QColor(0xf7, 0xe6, 0xb0));
    p.setBrush(step);
    p.setPen(QPen(QColor(0x5a, 0x41, 0x16), 3.0));
    p.drawEllipse(Centre, StepRadius, StepRadius);

    QRadialGradient cream(QPointF(0, -60), 515.0);
    cream.setColorAt(0.0, QColor(0xff, 0xfb, 0xf0));
    cream.setColorAt(0.65, QColor(0xf6, 0xec, 0xd3));
    cream.setColorAt(1.0, QColor(0xe4, 0xd2, 0xa8));
    p.setPen(QPen(QColor(0x3a, 0x2a, 0x10), 3.5));
    p.setBrush(cream);
    p.drawEllipse(Centre, FaceRadius, FaceRadius);

    QRadialGradient rimShadow(Centre, FaceRadius);
    rimShadow.setColorAt(0.90, QColor(0, 0, 0, 0));
    rimShadow.setColorAt(1.0, QColor(40, 25, 0, 75));
    p.setPen(Qt::NoPen);
    p.setBrush(rimShadow);
    p.drawEllipse(Centre, FaceRadius, FaceRadius);
}

void BrassGauge::paintGlass(QPainter &p)
{
    QRadialGradient sheen(QPointF(-170, -200), 380.0);
    sheen.setColorAt(0.0, QColor(255, 255, 255, 60));
    sheen.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sheen);
    p.drawEllipse(Centre, FaceRadius, FaceRadius);
}

void BrassGauge::paintEvent(QPaintEvent *)
{
    if (width() <= 0 || height() <= 0)
        return;
    const qreal dpr = devicePixelRatioF();
    const QSize pixels = size() * dpr;
    if (m_faceCache.size() != pixels) {
        m_faceCache = QPixmap(pixels);
        m_faceCache.setDevicePixelRatio(dpr);
        m_faceCache.fill(Qt::transparent);
        QPainter face(&m_faceCache);
        face.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        face.setTransform(dialToWidget());
        paintBody(face);
        paintScale(face);
    }

    QPainter p(this);
    p.drawPixmap(0, 0, m_faceCache);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    p.setTransform(dialToWidget());
    paintIndicator(p);
    paintGlass(p);
}
