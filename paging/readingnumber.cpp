// Readings and alarm thresholds taken as numbers.
#include "paging/readingnumber.h"

#include "config/variantvalue.h"

#include <cmath>

std::optional<double> textNumber(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double n = t.toDouble(&ok); // C locale: readings are written with a point
    return ok && std::isfinite(n) ? std::optional<double>(n) : std::nullopt;
}

std::optional<double> thresholdNumber(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    if (value.typeId() == QMetaType::QString)
        return textNumber(value.toString());
    return variantNumber(value);
}
