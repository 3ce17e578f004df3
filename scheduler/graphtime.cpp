// Reading the graph time of day from the setting's variant.
#include "scheduler/graphtime.h"

#include "core/datetimeformat.h"

#include "config/variantvalue.h"

#include <QDateTime>
#include <cmath>

namespace {

// A date held as a number counts days from 1899-12-30, its fraction the time of day:
// 0.5 is noon. A hand-edited file gives such a number for "12:00". The fraction of a
// negative date still runs forward from midnight.
QTime timeOfDayFraction(double days)
{
    const double fraction = std::fabs(days - std::trunc(days));
    const int seconds = int(std::lround(fraction * 86400.0)) % 86400;
    return QTime(0, 0).addSecs(seconds);
}

} // namespace

std::optional<QTime> graphTimeOfDay(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QTime(0, 0);
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        if (value.toDateTime().isValid())
            return value.toDateTime().time();
        return std::nullopt;
    case QMetaType::QTime:
        if (value.toTime().isValid())
            return value.toTime();
        return std::nullopt;
    case QMetaType::QString:
        break;
    default: {
        const std::optional<double> days = variantNumber(value);
        if (days && std::isfinite(*days))
            return timeOfDayFraction(*days);
        return std::nullopt;
    }
    }
    const QString text = value.toString().trimmed();
    if (text.isEmpty())
        return QTime(0, 0);
    bool isNumber = false;
    const double days = text.toDouble(&isNumber);
    if (isNumber && std::isfinite(days))
        return timeOfDayFraction(days);
    const QDateTime general = parseGeneralDate(text);
    if (general.isValid())
        return general.time();
    for (const char *format : {"h:mm:ss AP", "h:mm AP", "H:mm:ss", "H:mm"}) {
        const QTime t = QTime::fromString(text, QLatin1String(format));
        if (t.isValid())
            return t;
    }
    return std::nullopt;
}
