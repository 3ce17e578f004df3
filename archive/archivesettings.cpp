// Reading and writing the [archive] group of "corvane.conf".
#include "archive/archivesettings.h"

#include <QFile>
#include <QSettings>
#include <QSysInfo>

namespace {

const QStringList &sslModes()
{
    static const QStringList modes = {
        QStringLiteral("disable"), QStringLiteral("allow"),     QStringLiteral("prefer"),
        QStringLiteral("require"), QStringLiteral("verify-ca"), QStringLiteral("verify-full")};
    return modes;
}

// QSettings reads an unquoted value with a comma as a list; a password may hold one.
QString text(const QSettings &settings, const QString &key, const QString &fallback)
{
    if (!settings.contains(key))
        return fallback;
    const QVariant value = settings.value(key);
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

} // namespace

QString ArchiveSettings::stationName() const
{
    const QString name = station.trimmed();
    return name.isEmpty() ? QSysInfo::machineHostName() : name;
}

bool ArchiveSettings::operator==(const ArchiveSettings &o) const
{
    return enabled == o.enabled && host == o.host && port == o.port && database == o.database &&
           user == o.user && password == o.password && station == o.station &&
           sslmode == o.sslmode;
}

ArchiveSettings readArchiveSettings(QSettings &settings, QStringList *problems)
{
    const auto problem = [problems](const QString &what) {
        if (problems)
            *problems << QStringLiteral("[archive] ") + what;
    };
    ArchiveSettings out;
    settings.beginGroup(QStringLiteral("archive"));
    const QString enabled = text(settings, QStringLiteral("enabled"), QString()).trimmed().toLower();
    if (enabled == QLatin1String("true") || enabled == QLatin1String("1") ||
        enabled == QLatin1String("yes"))
        out.enabled = true;
    else if (!enabled.isEmpty() && enabled != QLatin1String("false") &&
             enabled != QLatin1String("0") && enabled != QLatin1String("no"))
        problem(QStringLiteral("enabled is not true or false"));
    out.host = text(settings, QStringLiteral("host"), out.host).trimmed();
    const QString port = text(settings, QStringLiteral("port"), QString()).trimmed();
    if (!port.isEmpty()) {
        bool ok = false;
        const int n = port.toInt(&ok);
        if (ok && n > 0 && n < 65536)
            out.port = n;
        else
            problem(QStringLiteral("port is not a number from 1 to 65535"));
    }
    out.database = text(settings, QStringLiteral("database"), out.database).trimmed();
    out.user = text(settings, QStringLiteral("user"), out.user).trimmed();
    out.password = text(settings, QStringLiteral("password"), QString());
    out.station = text(settings, QStringLiteral("station"), QString()).trimmed();
    const QString sslmode =
        text(settings, QStringLiteral("sslmode"), out.sslmode).trimmed().toLower();
    if (sslModes().contains(sslmode))
        out.sslmode = sslmode;
    else
        problem(QStringLiteral("sslmode is not one of ") + sslModes().join(QStringLiteral(", ")));
    settings.endGroup();
    return out;
}

void writeArchiveSettings(QSettings &settings, const ArchiveSettings &archive)
{
    settings.beginGroup(QStringLiteral("archive"));
    settings.setValue(QStringLiteral("enabled"), archive.enabled);
    settings.setValue(QStringLiteral("host"), archive.host);
    settings.setValue(QStringLiteral("port"), archive.port);
    settings.setValue(QStringLiteral("database"), archive.database);
    settings.setValue(QStringLiteral("user"), archive.user);
    settings.setValue(QStringLiteral("password"), archive.password);
    settings.setValue(QStringLiteral("station"), archive.station);
    settings.setValue(QStringLiteral("sslmode"), archive.sslmode);
    settings.endGroup();
}

QString saveArchiveSettings(const QString &path, const ArchiveSettings &archive)
{
    {
        QSettings settings(path, QSettings::IniFormat);
        writeArchiveSettings(settings, archive);
        settings.sync();
        if (settings.status() != QSettings::NoError)
            return QStringLiteral("%1 could not be written").arg(path);
    }
    if (!QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner))
        return QStringLiteral("%1: its permissions could not be set to owner-only").arg(path);
    return {};
}
