// Numbers read from variant settings and from reading texts.
#include "paging/settingnumber.h"

std::optional<double> textNumber(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double n = t.toDouble(&ok); // C locale: readings are written with a point
    return ok ? std::optional<double>(n) : std::nullopt;
}

std::optional<double> settingNumber(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return 0.0;
    if (value.userType() == QMetaType::QString && value.toString().trimmed().isEmpty())
        return 0.0;
    if (value.userType() == QMetaType::QString)
        return textNumber(value.toString());
    bool ok = false;
    const double n = value.toDouble(&ok);
    return ok ? std::optional<double>(n) : std::nullopt;
}

bool settingIs(const QVariant &value, int n)
{
    const auto v = settingNumber(value);
    return v && *v == n;
}
