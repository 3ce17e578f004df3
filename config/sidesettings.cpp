// Reading "corvane.conf".
#include "config/sidesettings.h"

#include "core/programdir.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

// QSettings reads an unquoted value with a comma as a list; a path may hold one.
QString textValue(const QSettings &settings, const QString &key)
{
    const QVariant value = settings.value(key);
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString().trimmed();
}

// Several pins are a list, "A, B", since ";" starts a comment in an INI file unless the
// value is quoted; curl takes them as "A;B".
QString pinsValue(const QSettings &settings, const QString &key)
{
    QStringList pins;
    for (const QString &item : settings.value(key).toStringList())
        pins += item.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString &pin : pins)
        pin = pin.trimmed();
    return pins.join(QLatin1Char(';'));
}

bool isSha256Pin(const QString &pins)
{
    for (const QString &pin : pins.split(QLatin1Char(';'))) {
        if (!pin.startsWith(QLatin1String("sha256//")))
            return false;
        const auto digest = QByteArray::fromBase64Encoding(pin.mid(8).toLatin1(),
                                                           QByteArray::AbortOnBase64DecodingErrors);
        if (!digest || digest.decoded.size() != 32)
            return false;
    }
    return true;
}

} // namespace

QString sideSettingsFilePath()
{
    return programFile(QStringLiteral("corvane.conf"));
}

SideSettings readSideSettings(const QString &path)
{
    SideSettings out;
    if (!QFileInfo::exists(path))
        return out;
    QSettings settings(path, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) {
        out.problems << QStringLiteral("%1 cannot be read").arg(path);
        return out;
    }
    out.sharing = readSharingSettings(path, &out.problems);
    settings.beginGroup(QStringLiteral("ftps"));
    const QString caFile = textValue(settings, QStringLiteral("ca_file"));
    if (!caFile.isEmpty()) {
        out.ftps.caFile = QFileInfo(path).dir().absoluteFilePath(caFile);
        if (!QFileInfo(out.ftps.caFile).isReadable())
            out.problems
                << QStringLiteral("[ftps] ca_file: %1 cannot be read").arg(out.ftps.caFile);
    }
    out.ftps.pinnedKey = pinsValue(settings, QStringLiteral("pinned_key"));
    if (!out.ftps.pinnedKey.isEmpty() && !isSha256Pin(out.ftps.pinnedKey))
        out.problems << QStringLiteral(
            "[ftps] pinned_key is not sha256// followed by a base64 SHA-256 digest");
    settings.endGroup();

    const QString upload = textValue(settings, QStringLiteral("noaa/upload")).toLower();
    out.noaa.upload = upload == QLatin1String("true") || upload == QLatin1String("1");
    if (!upload.isEmpty() && !out.noaa.upload && upload != QLatin1String("false") &&
        upload != QLatin1String("0"))
        out.problems << QStringLiteral("[noaa] upload is neither true nor false");
    out.archive = readArchiveSettings(settings, &out.problems);
    return out;
}
