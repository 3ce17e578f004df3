// The thermometer, wind speed dial and wind vane: value in, geometry and drawing out.
#include "ui/gauges/ferrickgauge.h"
#include "ui/gauges/tamselgauge.h"
#include "ui/gauges/velmorgauge.h"

#include <QImage>
#include <QMetaProperty>
#include <QtTest>

#include <cmath>
#include <limits>
#include <memory>

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();

bool isRed(QRgb c)
{
    return qRed(c) > 170 && qGreen(c) < 110 && qBlue(c) < 110;
}

std::unique_ptr<BrassGauge> makeGauge(const QString &kind)
{
    if (kind == QLatin1String("FerrickGauge"))
        return std::make_unique<FerrickGauge>();
    if (kind == QLatin1String("TamselGauge"))
        return std::make_unique<TamselGauge>();
    return std::make_unique<VelmorGauge>();
}

// The gauge's needle direction through its own type's accessor.
double needleOf(BrassGauge *g)
{
    if (auto *t = qobject_cast<TamselGauge *>(g))
        return t->needleAngle();
    return qobject_cast<VelmorGauge *>(g)->needleAngle();
}

QPointF dialPoint(double compassDeg, double radius)
{
    const double a = compassDeg * M_PI / 180.0;
    return QPointF(radius * std::sin(a), -radius * std::cos(a));
}

} // namespace

class TstStandInGauges : public QObject
{
    Q_OBJECT
private slots:
    void valueProperty_data();
    void valueProperty();
    void thermometerFill_data();
    void thermometerFill();
    void mercuryDrawnToItsTop_data();
    void mercuryDrawnToItsTop();
    void speedDialAngle_data();
    void speedDialAngle();
    void vaneAngle_data();
    void vaneAngle();
    void needleDrawnInItsDirection_data();
    void needleDrawnInItsDirection();
};

void TstStandInGauges::valueProperty_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("thermometer") << "FerrickGauge";
    QTest::newRow("speed dial") << "TamselGauge";
    QTest::newRow("vane") << "VelmorGauge";
}

void TstStandInGauges::valueProperty()
{
    QFETCH(QString, kind);
    std::unique_ptr<BrassGauge> g = makeGauge(kind);
    QCOMPARE(QString::fromLatin1(g->metaObject()->className()), kind);
    const QMetaProperty value =
        g->metaObject()->property(g->metaObject()->indexOfProperty("Value"));
    QVERIFY(value.isValid());
    QCOMPARE(value.metaType(), QMetaType::fromType<double>());
    // Hosts may set it by name, as the main window does for a control's value property.
    QVERIFY(g->setProperty("Value", 42.5));
    QCOMPARE(g->property("Value").toDouble(), 42.5);
    QCOMPARE(g->sizeHint(), QSize(100, 100));
}

void TstStandInGauges::thermometerFill_data()
{
    QTest::addColumn<double>("fahrenheit");
    QTest::addColumn<double>("fraction");
    QTest::newRow("bottom of the scale") << -20.0 << 0.0;
    QTest::newRow("zero") << 0.0 << 20.0 / 140.0;
    QTest::newRow("middle") << 50.0 << 0.5;
    QTest::newRow("room") << 68.4 << 88.4 / 140.0;
    QTest::newRow("top of the scale") << 120.0 << 1.0;
    QTest::newRow("below stops at the bottom") << -40.5 << 0.0;
    QTest::newRow("above stops at the top") << 150.0 << 1.0;
    QTest::newRow("infinitely hot") << Inf << 1.0;
    QTest::newRow("not a number") << NaN << 0.0;
}

void TstStandInGauges::thermometerFill()
{
    QFETCH(double, fahrenheit);
    QFETCH(double, fraction);
    FerrickGauge g;
    g.setValue(fahrenheit);
    QCOMPARE(g.mercuryFraction(), fraction);
}

void TstStandInGauges::mercuryDrawnToItsTop_data()
{
    QTest::addColumn<double>("fahrenheit");
    QTest::addColumn<QSize>("size");
    QTest::newRow("-10 F") << -10.0 << QSize(240, 240);
    QTest::newRow("32 F") << 32.0 << QSize(240, 240);
    QTest::newRow("75 F, wide") << 75.0 << QSize(400, 240);
    QTest::newRow("118 F, tall") << 118.0 << QSize(240, 360);
}

void TstStandInGauges::mercuryDrawnToItsTop()
{
    QFETCH(double, fahrenheit);
    QFETCH(QSize, size);
    FerrickGauge g;
    g.resize(size);
    g.setValue(fahrenheit);
    const QImage image = g.grab().toImage();
    const int x = size.width() / 2;
    const double top = g.mercuryTopY();
    QVERIFY2(isRed(image.pixel(x, qRound(top + 3))), "no mercury just below its top");
    QVERIFY2(!isRed(image.pixel(x, qRound(top - 4))), "mercury above its top");
    // A warmer reading stands higher.
    FerrickGauge warmer;
    warmer.resize(size);
    warmer.setValue(fahrenheit + 1.0);
    QVERIFY(warmer.mercuryTopY() < top);
}

void TstStandInGauges::speedDialAngle_data()
{
    QTest::addColumn<double>("mph");
    QTest::addColumn<double>("angle");
    QTest::newRow("calm, lower left") << 0.0 << -135.0;
    QTest::newRow("25") << 25.0 << -67.5;
    QTest::newRow("50 at the top") << 50.0 << 0.0;
    QTest::newRow("12.3") << 12.3 << -135.0 + 2.7 * 12.3;
    QTest::newRow("100, lower right") << 100.0 << 135.0;
    QTest::newRow("below rests on the zero stop") << -4.0 << -135.0;
    QTest::newRow("above rests on the end stop") << 130.0 << 135.0;
    QTest::newRow("not a number") << NaN << -135.0;
}

void TstStandInGauges::speedDialAngle()
{
    QFETCH(double, mph);
    QFETCH(double, angle);
    TamselGauge g;
    g.setValue(mph);
    g.Redraw();
    QCOMPARE(g.needleAngle(), angle);
    if (!std::isnan(mph))
        QCOMPARE(g.Value(), mph); // clamping is the drawing's, the value is kept
}

void TstStandInGauges::vaneAngle_data()
{
    QTest::addColumn<double>("degrees");
    QTest::addColumn<double>("angle");
    QTest::newRow("north") << 0.0 << 0.0;
    QTest::newRow("east") << 90.0 << 90.0;
    QTest::newRow("359") << 359.0 << 359.0;
    QTest::newRow("360 is north") << 360.0 << 0.0;
    QTest::newRow("450 wraps to east") << 450.0 << 90.0;
    QTest::newRow("-90 is west") << -90.0 << 270.0;
    QTest::newRow("-360 is north") << -360.0 << 0.0;
    QTest::newRow("tiny negative stays below 360") << -1e-14 << 0.0;
    QTest::newRow("not a number points north") << NaN << 0.0;
    QTest::newRow("infinity points north") << Inf << 0.0;
}

void TstStandInGauges::vaneAngle()
{
    QFETCH(double, degrees);
    QFETCH(double, angle);
    VelmorGauge g;
    g.setValue(degrees);
    g.Redraw();
    QCOMPARE(g.needleAngle(), angle);
    QVERIFY(g.needleAngle() >= 0.0 && g.needleAngle() < 360.0);
}

void TstStandInGauges::needleDrawnInItsDirection_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<double>("value");
    QTest::addColumn<QSize>("size");
    QTest::newRow("speed 0") << "TamselGauge" << 0.0 << QSize(240, 240);
    QTest::newRow("speed 50") << "TamselGauge" << 50.0 << QSize(240, 240);
    QTest::newRow("speed 83, wide") << "TamselGauge" << 83.0 << QSize(380, 240);
    QTest::newRow("speed 140 on the stop") << "TamselGauge" << 140.0 << QSize(240, 240);
    QTest::newRow("wind from the south") << "VelmorGauge" << 180.0 << QSize(240, 240);
    QTest::newRow("wind from 300, tall") << "VelmorGauge" << 300.0 << QSize(240, 330);
    QTest::newRow("wind from 45") << "VelmorGauge" << 45.0 << QSize(240, 240);
}

void TstStandInGauges::needleDrawnInItsDirection()
{
    QFETCH(QString, kind);
    QFETCH(double, value);
    QFETCH(QSize, size);
    std::unique_ptr<BrassGauge> g = makeGauge(kind);
    g->resize(size);
    g->setProperty("Value", value);
    const QImage image = g->grab().toImage();
    const QTransform toPixels = g->dialToWidget();
    const double angle = needleOf(g.get());
    for (double radius : {160.0, 250.0, 330.0}) {
        const QPoint along = toPixels.map(dialPoint(angle, radius)).toPoint();
        QVERIFY2(isRed(image.pixel(along)),
                 qPrintable(QStringLiteral("no needle at %1").arg(radius)));
        const QPoint opposite = toPixels.map(dialPoint(angle + 180.0, radius)).toPoint();
        QVERIFY2(!isRed(image.pixel(opposite)),
                 qPrintable(QStringLiteral("red opposite at %1").arg(radius)));
    }
}

QTEST_MAIN(TstStandInGauges)
#include "tst_standingauges.moc"
