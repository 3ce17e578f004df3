// Pager messages from the report templates.
#include "publishing/pagertemplate.h"

#include "acquisition/readingsrecord.h"
#include "publishing/compassword.h"
#include "publishing/pagetokens.h"

#include <QFile>
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
    QFile file(templatePath);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, QStringLiteral("%1: %2").arg(templatePath, file.errorString())};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {std::nullopt, QStringLiteral("%1: %2").arg(templatePath, file.errorString())};
    return {ExpandTemplateText(QString::fromLatin1(bytes), values), {}};
}
