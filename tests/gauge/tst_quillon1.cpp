// The barometer control: hand positions, notifications, property bag, drawing, factory.
#include "gauge/quillon1.h"
#include "gauge/quillonfactory.h"

#include <QBuffer>
#include <QDataStream>
#include <QImage>
#include <QMetaProperty>
#include <QSignalSpy>
#include <QtTest>

#include <cmath>
#include <limits>

namespace {

constexpr double Unchanged = -1000.0; // expected angle meaning "the hand stays"
constexpr double StartAngle = 45.0;

// Where a hand of 560 twips about (740, 740) ends at a compass angle.
QPointF compassPoint(double degrees, double radius = 560.0)
{
    const double a = degrees * M_PI / 180.0;
    return QPointF(740.0 + radius * std::sin(a), 740.0 - radius * std::cos(a));
}

bool near(const QPointF &a, const QPointF &b, double tolerance)
{
    return std::abs(a.x() - b.x()) <= tolerance && std::abs(a.y() - b.y()) <= tolerance;
}

QString describe(const QPointF &p)
{
    return QStringLiteral("(%1, %2)").arg(p.x(), 0, 'f', 4).arg(p.y(), 0, 'f', 4);
}

bool isRed(QRgb c)
{
    return qRed(c) > 170 && qGreen(c) < 110 && qBlue(c) < 110;
}

// A property bag with the given entries in the given order.
QByteArray bag(const QList<QPair<QString, QVariant>> &entries)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << quint32(entries.size());
    for (const auto &[name, value] : entries)
        out << name << value;
    return bytes;
}

} // namespace

class TstQuillon1 : public QObject
{
    Q_OBJECT
private slots:
    void designPosition();
    void pressureMovesHand_data();
    void pressureMovesHand();
    void setHand_data();
    void setHand();
    void writesAreAnnounced_data();
    void writesAreAnnounced();
    void pressureAnnouncedBeforeHandMoves();
    void hostValuesLeaveWidgetAlone();
    void propertyBagRoundTrip();
    void propertyBagDefaults_data();
    void propertyBagDefaults();
    void damagedBagChangesNothing_data();
    void damagedBagChangesNothing();
    void initPropertiesRestoresDefaults();
    void handIsDrawnInItsDirection_data();
    void handIsDrawnInItsDirection();
    void factory_data();
    void factory();
};

void TstQuillon1::designPosition()
{
    Quillon1 q;
    QCOMPARE(q.handFixedEnd(), QPointF(735, 760));
    QCOMPARE(q.handFreeEnd(), QPointF(300, 760));
    QCOMPARE(q.sizeHint(), QSize(100, 100));
}

void TstQuillon1::pressureMovesHand_data()
{
    QTest::addColumn<QVariant>("pressure");
    QTest::addColumn<double>("angle");
    QTest::newRow("29.00 lower left") << QVariant(29.00) << 210.0;
    QTest::newRow("29.99 rounds up to the top") << QVariant(29.99) << 360.0;
    QTest::newRow("29.50") << QVariant(29.50) << 286.0;
    QTest::newRow("30.00 exactly stays") << QVariant(30.00) << Unchanged;
    QTest::newRow("30.01 gives 1.5, rounded to 2") << QVariant(30.01) << 2.0;
    QTest::newRow("30.50") << QVariant(30.50) << 75.0;
    QTest::newRow("31.00 lower right") << QVariant(31.00) << 150.0;
    QTest::newRow("31.01 stays") << QVariant(31.01) << Unchanged;
    QTest::newRow("32.5 stays") << QVariant(32.5) << Unchanged;
    QTest::newRow("28.00 not clamped, upper right") << QVariant(28.00) << 58.0;
    QTest::newRow("whole number 31") << QVariant(31) << 150.0;
    QTest::newRow("whole number 30 stays") << QVariant(30) << Unchanged;
    QTest::newRow("single precision") << QVariant(29.0f) << 210.0;
    QTest::newRow("numeric text") << QVariant(QStringLiteral(" 30.50 ")) << 75.0;
    // 210 + 151.5151515 x (0 - 29) = -4183.94; True is -1 to the host: -4335.45.
    QTest::newRow("empty counts as 0") << QVariant() << -4184.0;
    QTest::newRow("true counts as -1") << QVariant(true) << -4335.0;
    QTest::newRow("text abc stays") << QVariant(QStringLiteral("abc")) << Unchanged;
    QTest::newRow("empty text stays") << QVariant(QString()) << Unchanged;
    QTest::newRow("NaN stays") << QVariant(std::nan("")) << Unchanged;
    QTest::newRow("minus infinity stays")
        << QVariant(-std::numeric_limits<double>::infinity()) << Unchanged;
    QTest::newRow("a point stays") << QVariant(QPointF(29, 29)) << Unchanged;
}

void TstQuillon1::pressureMovesHand()
{
    QFETCH(QVariant, pressure);
    QFETCH(double, angle);
    Quillon1 q;
    q.SetHand(StartAngle);
    q.setBaroPressure(pressure);
    const QPointF expected = compassPoint(angle == Unchanged ? StartAngle : angle);
    QVERIFY2(near(q.handFreeEnd(), expected, 0.06),
             qPrintable(describe(q.handFreeEnd()) + " expected " + describe(expected)));
    QCOMPARE(q.handFixedEnd(), QPointF(735, 760));
}

void TstQuillon1::setHand_data()
{
    QTest::addColumn<double>("angle");
    QTest::addColumn<QPointF>("freeEnd");
    QTest::newRow("0 up") << 0.0 << QPointF(740, 180);
    QTest::newRow("90 right") << 90.0 << QPointF(1300, 740);
    QTest::newRow("180 down") << 180.0 << QPointF(740, 1300);
    QTest::newRow("270 left") << 270.0 << QPointF(180, 740);
    // After a hundred turns the 3.14159 of the design has drifted 0.29 twips from up.
    QTest::newRow("36000 with the design's pi") << 36000.0 << QPointF(739.7073, 180.0001);
}

void TstQuillon1::setHand()
{
    QFETCH(double, angle);
    QFETCH(QPointF, freeEnd);
    Quillon1 q;
    q.SetHand(angle);
    QVERIFY2(near(q.handFreeEnd(), freeEnd, 0.01),
             qPrintable(describe(q.handFreeEnd()) + " expected " + describe(freeEnd)));
    // The end points are single precision values.
    QCOMPARE(q.handFreeEnd().x(), double(float(q.handFreeEnd().x())));
    QCOMPARE(q.handFreeEnd().y(), double(float(q.handFreeEnd().y())));
}

void TstQuillon1::writesAreAnnounced_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("BackColor") << "BackColor" << QVariant::fromValue(quint32(255));
    QTest::newRow("ForeColor") << "ForeColor" << QVariant::fromValue(quint32(0xFF8000));
    QTest::newRow("Enabled") << "Enabled" << QVariant(true);
    QTest::newRow("Font") << "Font" << QVariant(QFont(QStringLiteral("DejaVu Serif"), 21));
    QTest::newRow("BackStyle") << "BackStyle" << QVariant::fromValue(qint16(1));
    QTest::newRow("BorderStyle") << "BorderStyle" << QVariant::fromValue(qint16(-2));
    QTest::newRow("BaroPressure") << "BaroPressure" << QVariant(29.92);
}

void TstQuillon1::writesAreAnnounced()
{
    QFETCH(QString, name);
    QFETCH(QVariant, value);
    Quillon1 q;
    const QMetaObject *mo = q.metaObject();
    const QMetaProperty prop = mo->property(mo->indexOfProperty(qPrintable(name)));
    QVERIFY(prop.isValid());
    QVERIFY(prop.hasNotifySignal());

    QSignalSpy any(&q, &Quillon1::propertyChanged);
    QSignalSpy own(&q, prop.notifySignal());
    // The other properties' own signals must stay quiet.
    QList<std::shared_ptr<QSignalSpy>> others;
    for (int i = mo->propertyOffset(); i < mo->propertyCount(); ++i) {
        if (mo->property(i).hasNotifySignal() && i != prop.propertyIndex())
            others << std::make_shared<QSignalSpy>(&q, mo->property(i).notifySignal());
    }

    // Every write is announced, also one that repeats the stored value.
    QVERIFY(q.setProperty(qPrintable(name), value));
    QVERIFY(q.setProperty(qPrintable(name), value));
    QCOMPARE(q.property(qPrintable(name)), value);
    QCOMPARE(any.count(), 2);
    QCOMPARE(any.at(0).at(0).toString(), name);
    QCOMPARE(any.at(1).at(0).toString(), name);
    QCOMPARE(own.count(), 2);
    for (const auto &spy : others)
        QCOMPARE(spy->count(), 0);
}

void TstQuillon1::pressureAnnouncedBeforeHandMoves()
{
    Quillon1 q;
    QPointF atAnnouncement;
    connect(&q, &Quillon1::propertyChanged, &q, [&] { atAnnouncement = q.handFreeEnd(); });
    q.setBaroPressure(29.0);
    QCOMPARE(atAnnouncement, QPointF(300, 760));
    QVERIFY(near(q.handFreeEnd(), compassPoint(210), 0.06));
}

void TstQuillon1::hostValuesLeaveWidgetAlone()
{
    QWidget host;
    host.setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    auto *q = new Quillon1(&host);
    const QFont widgetFont = q->font();
    q->setEnabledValue(false);
    QVERIFY(q->isEnabled());
    q->setFontValue(QFont(QStringLiteral("DejaVu Serif"), 30));
    QCOMPARE(q->font(), widgetFont);
    QCOMPARE(q->Font().pointSize(), 30);
    q->setEnabledValue(true);
    host.setEnabled(false);
    QVERIFY(q->Enabled());
    QVERIFY(!q->isEnabled());
}

void TstQuillon1::propertyBagRoundTrip()
{
    Quillon1 source;
    source.setBackColor(0x00C0FFEE);
    source.setForeColor(255);
    source.setEnabledValue(true);
    source.setFontValue(QFont(QStringLiteral("DejaVu Serif"), 17, QFont::Bold));
    source.setBackStyle(1);
    source.setBorderStyle(-3);
    source.setBaroPressure(29.5);

    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        source.WriteProperties(out);
    }

    // Written in the control's order.
    {
        QDataStream in(bytes);
        quint32 count = 0;
        in >> count;
        QStringList names;
        for (quint32 i = 0; i < count; ++i) {
            QString name;
            QVariant value;
            in >> name >> value;
            names << name;
        }
        QCOMPARE(names, QStringList({"BackColor", "ForeColor", "Enabled", "Font", "BackStyle",
                                     "BorderStyle", "BaroPressure"}));
    }

    Quillon1 target;
    QSignalSpy any(&target, &Quillon1::propertyChanged);
    QDataStream in(bytes);
    QVERIFY(target.ReadProperties(in));
    QCOMPARE(target.BackColor(), 0x00C0FFEEu);
    QCOMPARE(target.ForeColor(), 255u);
    QCOMPARE(target.Enabled(), true);
    QCOMPARE(target.Font(), source.Font());
    QCOMPARE(target.BackStyle(), qint16(1));
    QCOMPARE(target.BorderStyle(), qint16(-3));
    QCOMPARE(target.BaroPressure(), QVariant(29.5));
    // Restored, not written: no announcement and the hand waits for the next write.
    QCOMPARE(any.count(), 0);
    QCOMPARE(target.handFreeEnd(), QPointF(300, 760));
}

void TstQuillon1::propertyBagDefaults_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<quint32>("foreColor");
    QTest::addColumn<qint16>("borderStyle");
    QTest::newRow("empty bag") << bag({}) << 0u << qint16(0);
    QTest::newRow("only ForeColor")
        << bag({{"ForeColor", QVariant::fromValue(quint32(77))}}) << 77u << qint16(0);
    QTest::newRow("unknown names ignored")
        << bag({{"Colour", 5}, {"BorderStyle", QVariant::fromValue(qint16(2))}}) << 0u << qint16(2);
    QTest::newRow("wrong types take defaults") << bag({{"ForeColor", QStringLiteral("red")},
                                                       {"BorderStyle", 70000},
                                                       {"Enabled", QStringLiteral("yes")},
                                                       {"Font", 12}})
                                               << 0u << qint16(0);
}

void TstQuillon1::propertyBagDefaults()
{
    QFETCH(QByteArray, bytes);
    QFETCH(quint32, foreColor);
    QFETCH(qint16, borderStyle);
    QWidget host;
    const QFont hostFont(QStringLiteral("DejaVu Sans Mono"), 13);
    host.setFont(hostFont);
    auto *q = new Quillon1(&host);
    q->setBackColor(9);
    q->setEnabledValue(true);
    q->setFontValue(QFont(QStringLiteral("DejaVu Serif"), 40));
    q->setBackStyle(4);
    q->setBaroPressure(30.2);

    QDataStream in(bytes);
    QVERIFY(q->ReadProperties(in));
    QCOMPARE(q->BackColor(), 0u);
    QCOMPARE(q->ForeColor(), foreColor);
    QCOMPARE(q->Enabled(), false);
    QCOMPARE(q->Font(), hostFont);
    QCOMPARE(q->BackStyle(), qint16(0));
    QCOMPARE(q->BorderStyle(), borderStyle);
    QCOMPARE(q->BaroPressure().toDouble(), 0.0);
}

void TstQuillon1::damagedBagChangesNothing_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray whole =
        bag({{"ForeColor", QVariant::fromValue(quint32(77))}, {"BaroPressure", 31.0}});
    QTest::newRow("nothing at all") << QByteArray();
    QTest::newRow("cut short") << whole.left(whole.size() - 5);
    QTest::newRow("absurd count") << QByteArray("\xff\xff\xff\xff", 4);
}

void TstQuillon1::damagedBagChangesNothing()
{
    QFETCH(QByteArray, bytes);
    Quillon1 q;
    q.setForeColor(5);
    q.setBaroPressure(29.8);
    QDataStream in(bytes);
    QVERIFY(!q.ReadProperties(in));
    QCOMPARE(q.ForeColor(), 5u);
    QCOMPARE(q.BaroPressure(), QVariant(29.8));
}

void TstQuillon1::initPropertiesRestoresDefaults()
{
    QWidget host;
    const QFont hostFont(QStringLiteral("DejaVu Sans"), 15);
    host.setFont(hostFont);
    auto *q = new Quillon1(&host);
    QCOMPARE(q->Font(), hostFont);
    q->setBackColor(1);
    q->setForeColor(2);
    q->setEnabledValue(true);
    q->setFontValue(QFont(QStringLiteral("DejaVu Serif"), 8));
    q->setBackStyle(3);
    q->setBorderStyle(4);
    q->setBaroPressure(29.0);
    const QPointF hand = q->handFreeEnd();
    q->InitProperties();
    QCOMPARE(q->BackColor(), 0u);
    QCOMPARE(q->ForeColor(), 0u);
    QCOMPARE(q->Enabled(), false);
    QCOMPARE(q->Font(), hostFont);
    QCOMPARE(q->BackStyle(), qint16(0));
    QCOMPARE(q->BorderStyle(), qint16(0));
    QCOMPARE(q->BaroPressure().toDouble(), 0.0);
    QCOMPARE(q->handFreeEnd(), hand);
}

void TstQuillon1::handIsDrawnInItsDirection_data()
{
    QTest::addColumn<double>("pressure");
    QTest::addColumn<double>("angle");
    QTest::addColumn<QSize>("size");
    QTest::newRow("29.00 at 210") << 29.0 << 210.0 << QSize(300, 300);
    QTest::newRow("29.99 at the top") << 29.99 << 360.0 << QSize(300, 300);
    QTest::newRow("30.50 at 75") << 30.5 << 75.0 << QSize(300, 300);
    QTest::newRow("31.00 at 150, wide widget") << 31.0 << 150.0 << QSize(420, 260);
    QTest::newRow("28.00 at 58, tall widget") << 28.0 << 58.0 << QSize(200, 330);
}

void TstQuillon1::handIsDrawnInItsDirection()
{
    QFETCH(double, pressure);
    QFETCH(double, angle);
    QFETCH(QSize, size);
    Quillon1 q;
    q.resize(size);
    q.setBaroPressure(pressure);
    const QImage image = q.grab().toImage();
    const QTransform toPixels = q.twipsToWidget();
    for (double radius : {260.0, 360.0, 460.0, 530.0}) {
        const QPoint along = toPixels.map(compassPoint(angle, radius)).toPoint();
        QVERIFY2(isRed(image.pixel(along)),
                 qPrintable(QStringLiteral("no hand at radius %1").arg(radius)));
        const QPoint opposite = toPixels.map(compassPoint(angle + 180.0, radius)).toPoint();
        QVERIFY2(!isRed(image.pixel(opposite)),
                 qPrintable(QStringLiteral("red opposite at radius %1").arg(radius)));
    }
    // The dial stays round and centred: bezel just inside its rim on every side, the
    // host's background just outside it wherever the widget is longer than the dial.
    const QRgb host = image.pixel(0, 0);
    for (double side : {0.0, 90.0, 180.0, 270.0}) {
        QVERIFY(image.pixel(toPixels.map(compassPoint(side, 700.0)).toPoint()) != host);
        const QPoint outside = toPixels.map(compassPoint(side, 800.0)).toPoint();
        if (image.rect().contains(outside))
            QCOMPARE(image.pixel(outside), host);
    }
}

void TstQuillon1::factory_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<bool>("known");
    QTest::newRow("exact") << "Quillon1" << true;
    QTest::newRow("any case") << "QUILLON1" << true;
    QTest::newRow("unknown") << "Ferrick1" << false;
    QTest::newRow("empty") << "" << false;
}

void TstQuillon1::factory()
{
    QFETCH(QString, className);
    QFETCH(bool, known);
    QWidget host;
    QWidget *made = quillonCreate(className, &host);
    QCOMPARE(qobject_cast<Quillon1 *>(made) != nullptr, known);
    if (known)
        QCOMPARE(made->parentWidget(), &host);
    QVERIFY(quillonClassNames().contains(QStringLiteral("Quillon1")));
}

QTEST_MAIN(TstQuillon1)
#include "tst_quillon1.moc"
