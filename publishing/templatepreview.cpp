// Template preview: readings from text lines, one page expansion.
#include "publishing/templatepreview.h"

#include "acquisition/readingsrecord.h"
#include "core/clock.h"
#include "core/regularfile.h"
#include "publishing/compassword.h"
#include "publishing/pagetokens.h"

#include <QSet>

QStringList readReadingsLines(const QString &text, ReadingsRecord &record)
{
    static const QSet<QString> known(ReadingsRecord::fieldNames().cbegin(),
                                     ReadingsRecord::fieldNames().cend());
    QStringList warnings;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        const QString field =
            eq < 0 ? QString() : ReadingsRecord::currentFieldName(line.left(eq).trimmed());
        if (!known.contains(field)) {
            warnings << QStringLiteral("line %1: no readings field: %2").arg(i + 1).arg(line);
            continue;
        }
        record.setText(field, line.mid(eq + 1)); // the text as it stands; tokens trim it
    }
    return warnings;
}

PreviewResult previewTemplate(const QString &templatePath, const QString &readingsPath,
                              const Clock &clock, const ByteSink &page)
{
    PreviewResult result;
    const RegularFileRead templ = readRegularFile(templatePath, TemplateFileLimit);
    if (!templ.ok()) {
        result.error = QStringLiteral("cannot read the template %1").arg(templ.error);
        return result;
    }
    ReadingsRecord record;
    if (!readingsPath.isEmpty()) {
        const RegularFileRead readings = readRegularFile(readingsPath, SettingsFileLimit);
        if (!readings.ok()) {
            result.error = QStringLiteral("cannot read the readings file %1").arg(readings.error);
            return result;
        }
        result.warnings = readReadingsLines(QString::fromUtf8(readings.bytes), record);
    }
    const QDateTime now = clock.now();
    const TokenValues values = PageTokenValues(
        record, QString(), pageCompassWord(record.text(QStringLiteral("GustDirection"))),
        pageCompassWord(record.text(QStringLiteral("AverageDirection"))), now, now.toUTC());
    if (!ExpandTemplateBytes(templ.bytes, values, page) || !page("\r\n"))
        result.error = QStringLiteral("the page could not be written whole");
    return result;
}
