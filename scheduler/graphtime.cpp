// Reading the graph time of day from the setting's variant.
#include "scheduler/graphtime.h"

#include "core/datetimeformat.h"

#include <QDateTime>

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
    default:
        return std::nullopt;
    }
    const QString text = value.toString().trimmed();
    if (text.isEmpty())
        return QTime(0, 0);
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
