// Writing the configuration file so that it always reads back as written.
#include "config/configfile.h"

#include <QDateTime>
#include <QSaveFile>
#include <cmath>

namespace {

struct Line
{
    QByteArray bytes;
    QString refusal; // why the value cannot be written; empty when fine
};

Line refused(const QString &why)
{
    return {QByteArray(), why};
}

// A text between quotes. The file has no escaping, so a quote or a line break would move
// every later value; such a text is refused rather than written.
Line quotedText(const QString &text)
{
    if (text.contains(QLatin1Char('"')))
        return refused(QStringLiteral("contains a double quote"));
    if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')))
        return refused(QStringLiteral("contains a line break"));
    for (QChar c : text)
        if (c.unicode() > 0xff)
            return refused(QStringLiteral("contains the character %1, which the file's 8-bit "
                                          "text cannot hold")
                               .arg(c));
    return {'"' + text.toLatin1() + '"', {}};
}

Line dateTimeLiteral(const QDateTime &dt)
{
    if (!dt.isValid() || dt.date().year() < 1 || dt.date().year() > 9999)
        return refused(QStringLiteral("holds no date-time between the years 1 and 9999"));
    const QTime t = dt.time();
    const QString text = QTime(t.hour(), t.minute(), t.second()) == QTime(0, 0)
                             ? dt.toString(QStringLiteral("'#'yyyy-MM-dd'#'"))
                             : dt.toString(QStringLiteral("'#'yyyy-MM-dd hh:mm:ss'#'"));
    return {text.toLatin1(), {}};
}

Line number(double d)
{
    if (!std::isfinite(d))
        return refused(QStringLiteral("holds a number that is not finite"));
    QByteArray text = QByteArray::number(d, 'g', QLocale::FloatingPointShortest);
    // Keep it a fraction on reading back, so that 3.0 does not come back as the integer 3.
    if (!text.contains('.') && !text.contains('e'))
        text += ".0";
    return {text, {}};
}

// A variant as held, after the normalisation a later load would apply.
Line variantLine(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::UnknownType:
        return {};
    case QMetaType::QString:
        return quotedText(v.toString());
    case QMetaType::Int:
    case QMetaType::LongLong:
        return {QByteArray::number(v.toLongLong()), {}};
    case QMetaType::Double:
        return number(v.toDouble());
    case QMetaType::QDateTime:
        return dateTimeLiteral(v.toDateTime());
    default:
        return refused(QStringLiteral("holds a value of type %1, which the file cannot store")
                           .arg(QString::fromLatin1(v.typeName())));
    }
}

} // namespace

ConfigFormatResult formatConfiguration(const Configuration &config)
{
    const ConfigValues values = configValues(configurationAsSaved(config));
    const QList<ConfigField> &fields = configFields();
    ConfigFormatResult result;
    QByteArray bytes;
    bytes.reserve(2048);
    for (int i = 0; i < ConfigValueCount; ++i) {
        const QVariant &v = values.at(i);
        Line line;
        switch (fields.at(i).kind) {
        case ConfigFieldKind::Integer:
        case ConfigFieldKind::Boolean:
            line.bytes = QByteArray::number(v.toInt());
            break;
        case ConfigFieldKind::TrimmedText:
        case ConfigFieldKind::IntegerText:
            line = quotedText(v.toString());
            break;
        case ConfigFieldKind::Variant:
            line = variantLine(v);
            break;
        }
        if (!line.refusal.isEmpty()) {
            result.field = fields.at(i).name;
            result.error = QStringLiteral("%1 %2.").arg(result.field, line.refusal);
            result.reason = line.refusal;
            return result;
        }
        bytes += line.bytes;
        bytes += "\r\n";
    }
    result.bytes = bytes;
    return result;
}

ConfigSaveResult saveConfiguration(const QString &path, const Configuration &config)
{
    const ConfigFormatResult formatted = formatConfiguration(config);
    if (!formatted.ok())
        return {formatted.field, formatted.error, formatted.reason};
    // The file holds the FTP password in clear text: owner only. QSaveFile writes a
    // temporary file and renames it over the old one, so a crash never leaves half a file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {QString(), QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()),
                file.errorString()};
    if (!file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        file.cancelWriting();
        return {QString(),
                QStringLiteral("Cannot restrict the permissions of %1: %2")
                    .arg(path, file.errorString()),
                file.errorString()};
    }
    if (file.write(formatted.bytes) != formatted.bytes.size() || !file.commit())
        return {QString(), QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()),
                file.errorString()};
    return {};
}
