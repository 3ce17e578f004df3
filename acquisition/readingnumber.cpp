// Reading texts as numbers.
#include "acquisition/readingnumber.h"

#include <cmath>
#include <limits>

namespace {

template <typename Int> std::optional<double> wholeIn(double v)
{
    // nearbyint rounds halves to even in the default rounding mode.
    const double r = std::nearbyint(v);
    if (r < double(std::numeric_limits<Int>::min()) || r > double(std::numeric_limits<Int>::max()))
        return std::nullopt;
    return r;
}

} // namespace

std::optional<double> readingNumber(const QString &text, ReadingNumberForm form)
{
    bool ok = false;
    // The C locale, whatever the system's: readings are written with a point and never
    // grouped.
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    switch (form) {
    case ReadingNumberForm::AsWritten:
        return v;
    case ReadingNumberForm::Int:
        return wholeIn<int>(v);
    case ReadingNumberForm::Int16:
        return wholeIn<qint16>(v);
    }
    return std::nullopt;
}
