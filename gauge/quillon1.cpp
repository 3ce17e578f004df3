// Properties, hand geometry and property bag of the barometer dial control.
#include "quillon1.h"

#include "dialface.h"

#include <QApplication>
#include <QDataStream>
#include <QHash>
#include <QPainter>
#include <QTransform>

#include <climits>
#include <cmath>
#include <iterator>
#include <limits>
#include <optional>

namespace {

constexpr double TwipsPerPixel = 15.0;
constexpr QPointF HandFixedEnd(735.0, 760.0);
constexpr QRectF HubRect(680.0, 710.0, 135.0, 135.0);
constexpr double HandWidthTwips = 3 * TwipsPerPixel; // 3 pixels at the design size
const QColor DesignRed(255, 0, 0);                   // the design's colour value 255

const char *const BagNames[] = {"BackColor", "ForeColor",   "Enabled",     "Font",
                                "BackStyle", "BorderStyle", "BaroPressure"};

// A variant as a number the way the host's comparisons see it: empty counts as 0,
// a numeric text as its number; anything else is not a number.
std::optional<double> pressureNumber(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::UnknownType:
        return 0.0;
    case QMetaType::Bool:
        return v.toBool() ? -1.0 : 0.0;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Float:
    case QMetaType::Double:
        return v.toDouble();
    case QMetaType::QString: {
        bool ok = false;
        const double d = v.toString().trimmed().toDouble(&ok);
        return ok ? std::optional<double>(d) : std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

// Rounds to the nearest whole number, halves to the even neighbour.
double roundHalfEven(double x)
{
    if (std::fabs(x - std::trunc(x)) == 0.5)
        return 2.0 * std::round(x / 2.0);
    return std::round(x);
}

// The hand angle for pressure p, or nothing when the hand is to stay.
std::optional<int> handAngleFor(double p)
{
    double angle;
    if (p < 30.0)
        angle = roundHalfEven(210.0 + 151.5151515 * (p - 29.0));
    else if (p > 30.0 && p < 31.01)
        angle = roundHalfEven(150.0 * (p - 30.0));
    else
        return std::nullopt; // exactly 30, 31.01 and above, or NaN
    // An angle that no whole number can hold is a failed step: the hand stays.
    if (!std::isfinite(angle) || angle < INT_MIN || angle > INT_MAX)
        return std::nullopt;
    return static_cast<int>(angle);
}

} // namespace

Quillon1::Quillon1(QWidget *parent) : QWidget(parent)
{
    InitProperties();
}

Quillon1::~Quillon1() = default;

QFont Quillon1::ambientFont() const
{
    return parentWidget() ? parentWidget()->font() : QApplication::font();
}

void Quillon1::announce(const char *name, void (Quillon1::*notify)())
{
    emit propertyChanged(QString::fromLatin1(name));
    emit(this->*notify)();
}

void Quillon1::setBackColor(quint32 value)
{
    m_backColor = value;
    announce("BackColor", &Quillon1::BackColorChanged);
}

void Quillon1::setForeColor(quint32 value)
{
    m_foreColor = value;
    announce("ForeColor", &Quillon1::ForeColorChanged);
}

void Quillon1::setEnabledValue(bool value)
{
    m_enabled = value;
    announce("Enabled", &Quillon1::EnabledChanged);
}

void Quillon1::setFontValue(const QFont &value)
{
    m_font = value;
    announce("Font", &Quillon1::FontChanged);
}

void Quillon1::setBackStyle(qint16 value)
{
    m_backStyle = value;
    announce("BackStyle", &Quillon1::BackStyleChanged);
}

void Quillon1::setBorderStyle(qint16 value)
{
    m_borderStyle = value;
    announce("BorderStyle", &Quillon1::BorderStyleChanged);
}

void Quillon1::setBaroPressure(const QVariant &value)
{
    m_baroPressure = value;
    announce("BaroPressure", &Quillon1::BaroPressureChanged);
    const std::optional<double> p = pressureNumber(value);
    if (!p)
        return;
    if (const std::optional<int> angle = handAngleFor(*p))
        SetHand(*angle);
}

void Quillon1::SetHand(double SpeedCorrected)
{
    if (!std::isfinite(SpeedCorrected))
        return;
    // 3.14159 rather than a finer pi keeps the hand where the design puts it;
    // sin(540 - x) = sin x and cos(540 - x) = -cos x, so this is compass direction x.
    const double r = (540.0 - SpeedCorrected) * 3.14159 / 180.0;
    m_handX2 = static_cast<float>(740.0 + 560.0 * std::sin(r));
    m_handY2 = static_cast<float>(740.0 + 560.0 * std::cos(r));
    update();
}

void Quillon1::Refresh() {}

void Quillon1::InitProperties()
{
    m_backColor = 0;
    m_foreColor = 0;
    m_enabled = false;
    m_font = ambientFont();
    m_backStyle = 0;
    m_borderStyle = 0;
    m_baroPressure = QVariant(0.0);
}

void Quillon1::WriteProperties(QDataStream &out) const
{
    const QVariant values[] = {QVariant::fromValue(m_backColor),
                               QVariant::fromValue(m_foreColor),
                               QVariant(m_enabled),
                               QVariant(m_font),
                               QVariant::fromValue(m_backStyle),
                               QVariant::fromValue(m_borderStyle),
                               m_baroPressure};
    out << quint32(std::size(BagNames));
    for (std::size_t i = 0; i < std::size(BagNames); ++i)
        out << QString::fromLatin1(BagNames[i]) << values[i];
}

bool Quillon1::ReadProperties(QDataStream &in)
{
    // Parse the whole bag before touching anything, so a damaged one changes nothing.
    constexpr quint32 MaxEntries = 256;
    quint32 count = 0;
    in >> count;
    if (in.status() != QDataStream::Ok || count > MaxEntries)
        return false;
    QHash<QString, QVariant> bag;
    for (quint32 i = 0; i < count; ++i) {
        QString name;
        QVariant value;
        in >> name >> value;
        if (in.status() != QDataStream::Ok)
            return false;
        bag.insert(name, value);
    }

    const auto number = [&bag](const char *name, auto fallback) {
        using T = decltype(fallback);
        const QVariant v = bag.value(QString::fromLatin1(name));
        bool ok = false;
        const qlonglong n = v.toLongLong(&ok);
        if (!ok || n < std::numeric_limits<T>::min() || n > std::numeric_limits<T>::max())
            return fallback;
        return static_cast<T>(n);
    };
    m_backColor = number("BackColor", quint32(0));
    m_foreColor = number("ForeColor", quint32(0));
    const QVariant enabled = bag.value(QStringLiteral("Enabled"));
    m_enabled = enabled.typeId() == QMetaType::Bool ? enabled.toBool() : false;
    const QVariant font = bag.value(QStringLiteral("Font"));
    m_font = font.typeId() == QMetaType::QFont ? font.value<QFont>() : ambientFont();
    m_backStyle = number("BackStyle", qint16(0));
    m_borderStyle = number("BorderStyle", qint16(0));
    m_baroPressure = bag.value(QStringLiteral("BaroPressure"), QVariant(0.0));
    return true;
}

QPointF Quillon1::handFixedEnd() const
{
    return HandFixedEnd;
}

QPointF Quillon1::handFreeEnd() const
{
    return QPointF(m_handX2, m_handY2);
}

QTransform Quillon1::twipsToWidget() const
{
    const qreal side = qMin(width(), height());
    const qreal scale = side / DesignSize;
    QTransform t;
    t.translate((width() - side) / 2.0, (height() - side) / 2.0);
    t.scale(scale, scale);
    return t;
}

QSize Quillon1::sizeHint() const
{
    const int side = qRound(DesignSize / TwipsPerPixel);
    return QSize(side, side);
}

QSize Quillon1::minimumSizeHint() const
{
    return QSize(40, 40);
}

void Quillon1::paintEvent(QPaintEvent *)
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
        face.setTransform(twipsToWidget());
        quillon::paintDialFace(face);
    }

    QPainter p(this);
    p.drawPixmap(0, 0, m_faceCache);
    p.setRenderHints(QPainter::Antialiasing);
    p.setTransform(twipsToWidget());

    quillon::paintHand(p, HandFixedEnd, handFreeEnd(), HandWidthTwips, DesignRed);
    quillon::paintHub(p, HubRect, DesignRed);
    quillon::paintGlass(p);
}
