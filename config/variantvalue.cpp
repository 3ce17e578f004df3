// Conversions of configuration variants.
#include "config/variantvalue.h"

#include "core/datetimeformat.h"

#include <QDateTime>
#include <cmath>

namespace {

bool isNumericType(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

} // namespace

std::optional<double> variantNumber(const QVariant &v)
{
    if (!v.isValid())
        return 0.0;
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? -1.0 : 0.0; // True is -1 in the original's arithmetic
    if (isNumericType(v))
        return v.toDouble();
    if (v.typeId() == QMetaType::QString) {
        bool ok = false;
        const double d = v.toString().trimmed().toDouble(&ok); // C locale, never grouped
        if (ok && std::isfinite(d))
            return d;
    }
    return std::nullopt;
}

std::optional<qint16> variantToInt16(const QVariant &v)
{
    const std::optional<double> d = variantNumber(v);
    if (!d)
        return std::nullopt;
    const double r = std::nearbyint(*d); // default rounding mode: half to even
    if (r < -32768.0 || r > 32767.0)
        return std::nullopt;
    return qint16(r);
}

std::optional<bool> variantToBool(const QVariant &v)
{
    if (v.typeId() == QMetaType::Bool)
        return v.toBool();
    if (v.typeId() == QMetaType::QString) {
        const QString t = v.toString().trimmed();
        if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
    }
    const std::optional<double> d = variantNumber(v);
    if (!d)
        return std::nullopt;
    return *d != 0.0;
}

QString variantToText(const QVariant &v)
{
    if (!v.isValid())
        return QString();
    switch (v.typeId()) {
    case QMetaType::QString:
        return v.toString();
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest);
    case QMetaType::QDateTime:
        return generalDate(v.toDateTime());
    default:
        return v.toString();
    }
}

bool variantEquals(const QVariant &v, double n)
{
    const std::optional<double> d = variantNumber(v);
    return d && *d == n;
}
