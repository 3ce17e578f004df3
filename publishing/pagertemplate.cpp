// Pager messages from the report templates.
#include "publishing/pagertemplate.h"

#include "acquisition/readingsrecord.h"
#include "core/regularfile.h"
#include "publishing/compassword.h"
#include "publishing/pagetokens.h"

#include <algorithm>

TokenValues PagerTokenValues(const ReadingsRecord &readings, const QString &forecastText,
                             const QDateTime &nowLocal)
{
    const QString gustWord = pageCompassWord(readings.text(QStringLiteral("GustDirection")));
    const QString averageWord = readings.text(QStringLiteral("AverageDirectionWord"));
    TokenValues values =
        PageTokenValues(readings, forecastText, gustWord, averageWord, nowLocal, nowLocal.toUTC());
    values.erase(
        std::remove_if(values.begin(), values.end(),
                       [](const TokenValue &v) { return v.token == QLatin1String("*GMT*"); }),
        values.end());
    return values;
}

PagerTemplateResult ExpandPagerTemplate(const QString &templatePath, const TokenValues &values)
{
    if (templatePath.isEmpty())
        return {std::nullopt, QStringLiteral("no pager template is configured")};
    const RegularFileRead templ = readRegularFile(templatePath, TemplateFileLimit);
    if (!templ.ok())
        return {std::nullopt, templ.error};
    QByteArray message;
    ExpandTemplateBytes(templ.bytes, values, [&message](QByteArrayView piece) {
        message.append(piece);
        return true;
    });
    return {QString::fromLatin1(message), {}};
}
