// Reading and writing the sharing sections of "corvane.conf".
#include "sharing/sharingsettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QSettings>
#include <algorithm>
#include <utility>

namespace {

using KeyValues = QList<std::pair<QString, QString>>; // key, value as written in the file

// QSettings reads an unquoted value with a comma as a list.
QString textValue(const QSettings &s, const QString &key, const QString &fallback)
{
    if (!s.contains(key))
        return fallback;
    const QVariant value = s.value(key);
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString().trimmed();
}

// Passwords are taken as written, blanks at their ends included.
QString secretValue(const QSettings &s, const QString &key)
{
    const QVariant value = s.value(key);
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

bool boolValue(const QSettings &s, const QString &key)
{
    const QString v = textValue(s, key, QString()).toLower();
    return v == QLatin1String("true") || v == QLatin1String("1") || v == QLatin1String("yes") ||
           v == QLatin1String("on");
}

struct Reader
{
    QSettings &s;
    QStringList *problems;

    int integer(const QString &key, int fallback, int low, int high)
    {
        if (!s.contains(key))
            return fallback;
        bool ok = false;
        const int v = textValue(s, key, QString()).toInt(&ok);
        if (ok && v >= low && v <= high)
            return v;
        const int taken = ok ? std::clamp(v, low, high) : fallback;
        if (problems)
            *problems << QStringLiteral("[%1] %2 must be a whole number from %3 to %4; %5 is used")
                             .arg(s.group(), key)
                             .arg(low)
                             .arg(high)
                             .arg(taken);
        return taken;
    }

    double degrees(const QString &key, double limit)
    {
        if (!s.contains(key))
            return 0;
        bool ok = false;
        const double v = textValue(s, key, QString()).toDouble(&ok);
        if (ok && v >= -limit && v <= limit)
            return v;
        if (problems)
            *problems << QStringLiteral("[%1] %2 must be degrees from -%3 to %3")
                             .arg(s.group(), key)
                             .arg(limit);
        return 0;
    }
};

QString absolutePath(const QString &file, const QString &settingsPath)
{
    return file.isEmpty() ? QString() : QFileInfo(settingsPath).dir().absoluteFilePath(file);
}

WeatherNetworkSettings readNetwork(Reader &r, const WeatherNetworkSettings &defaults)
{
    WeatherNetworkSettings n = defaults;
    n.enabled = boolValue(r.s, QStringLiteral("enabled"));
    n.url = textValue(r.s, QStringLiteral("url"), defaults.url);
    n.stationId = textValue(r.s, QStringLiteral("station_id"), QString());
    n.password = secretValue(r.s, QStringLiteral("password"));
    n.intervalMinutes =
        r.integer(QStringLiteral("interval_minutes"), defaults.intervalMinutes, 1, 24 * 60);
    return n;
}

// A value QSettings reads back as the same text: quoted, so that commas, semicolons and
// blanks at the ends survive.
QString quoted(const QString &text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '"':
            out += QLatin1String("\\\"");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        default:
            out += c;
        }
    }
    return out + QLatin1Char('"');
}

QString flag(bool on)
{
    return on ? QStringLiteral("true") : QStringLiteral("false");
}

KeyValues networkValues(const WeatherNetworkSettings &n)
{
    return {{QStringLiteral("enabled"), flag(n.enabled)},
            {QStringLiteral("url"), quoted(n.url)},
            {QStringLiteral("station_id"), quoted(n.stationId)},
            {QStringLiteral("password"), quoted(n.password)},
            {QStringLiteral("interval_minutes"), QString::number(n.intervalMinutes)}};
}

QList<std::pair<QString, KeyValues>> sectionsOf(const SharingSettings &s)
{
    const MqttSettings &m = s.mqtt;
    const CwopSettings &c = s.cwop;
    return {
        {QStringLiteral("mqtt"),
         {{QStringLiteral("enabled"), flag(m.enabled)},
          {QStringLiteral("host"), quoted(m.host)},
          {QStringLiteral("port"), QString::number(m.port)},
          {QStringLiteral("user"), quoted(m.userName)},
          {QStringLiteral("password"), quoted(m.password)},
          {QStringLiteral("tls"), flag(m.tls)},
          {QStringLiteral("ca_file"), quoted(m.caFile)},
          {QStringLiteral("station"), quoted(m.station)},
          {QStringLiteral("discovery_prefix"), quoted(m.discoveryPrefix)},
          {QStringLiteral("interval_seconds"), QString::number(m.intervalSeconds)}}},
        {QStringLiteral("wunderground"), networkValues(s.wunderground)},
        {QStringLiteral("pwsweather"), networkValues(s.pwsweather)},
        {QStringLiteral("cwop"),
         {{QStringLiteral("enabled"), flag(c.enabled)},
          {QStringLiteral("server"), quoted(c.server)},
          {QStringLiteral("port"), QString::number(c.port)},
          {QStringLiteral("callsign"), quoted(c.callsign)},
          {QStringLiteral("passcode"), quoted(c.passcode)},
          {QStringLiteral("latitude"), QString::number(c.latitude, 'f', 5)},
          {QStringLiteral("longitude"), QString::number(c.longitude, 'f', 5)},
          {QStringLiteral("interval_minutes"), QString::number(c.intervalMinutes)}}},
    };
}

QString sectionName(const QString &line)
{
    const QString t = line.trimmed();
    if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']')))
        return t.mid(1, t.size() - 2).trimmed();
    return {};
}

QString keyOf(const QString &line)
{
    const QString t = line.trimmed();
    if (t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#')))
        return {};
    const qsizetype eq = t.indexOf(QLatin1Char('='));
    return eq > 0 ? t.left(eq).trimmed() : QString();
}

// The file's lines with the sections' keys replaced where they stand, missing keys added at
// the end of their section and missing sections at the end of the file.
QStringList mergedLines(const QStringList &lines,
                        const QList<std::pair<QString, KeyValues>> &sections)
{
    QStringList out;
    QHash<QString, QSet<QString>> written;
    const auto find = [&sections](const QString &name) -> const KeyValues * {
        for (const auto &s : sections) {
            if (s.first == name)
                return &s.second;
        }
        return nullptr;
    };
    QString current;
    const auto closeSection = [&]() {
        const KeyValues *values = find(current);
        if (!values)
            return;
        // Added keys go after the section's last key, before blank lines that part it.
        qsizetype at = out.size();
        while (at > 0 && out[at - 1].trimmed().isEmpty())
            --at;
        for (const auto &kv : *values) {
            if (!written[current].contains(kv.first))
                out.insert(at++, kv.first + QLatin1Char('=') + kv.second);
            written[current].insert(kv.first);
        }
    };
    for (const QString &line : lines) {
        const QString section = sectionName(line);
        if (!section.isNull()) {
            closeSection();
            current = section;
            out << line;
            continue;
        }
        const KeyValues *values = find(current);
        const QString key = keyOf(line);
        if (values && !key.isEmpty()) {
            const auto it = std::find_if(values->begin(), values->end(),
                                         [&key](const auto &kv) { return kv.first == key; });
            if (it != values->end()) {
                if (!written[current].contains(key))
                    out << key + QLatin1Char('=') + it->second;
                written[current].insert(key);
                continue;
            }
        }
        out << line;
    }
    closeSection();
    for (const auto &s : sections) {
        if (written.contains(s.first))
            continue;
        if (!out.isEmpty() && !out.last().trimmed().isEmpty())
            out << QString();
        out << QLatin1Char('[') + s.first + QLatin1Char(']');
        for (const auto &kv : s.second)
            out << kv.first + QLatin1Char('=') + kv.second;
    }
    return out;
}

} // namespace

bool MqttSettings::operator==(const MqttSettings &o) const
{
    return enabled == o.enabled && host == o.host && port == o.port && userName == o.userName &&
           password == o.password && tls == o.tls && caFile == o.caFile && station == o.station &&
           discoveryPrefix == o.discoveryPrefix && intervalSeconds == o.intervalSeconds;
}

bool WeatherNetworkSettings::operator==(const WeatherNetworkSettings &o) const
{
    return enabled == o.enabled && url == o.url && stationId == o.stationId &&
           password == o.password && intervalMinutes == o.intervalMinutes;
}

bool CwopSettings::operator==(const CwopSettings &o) const
{
    return enabled == o.enabled && server == o.server && port == o.port && callsign == o.callsign &&
           passcode == o.passcode && latitude == o.latitude && longitude == o.longitude &&
           intervalMinutes == o.intervalMinutes;
}

WeatherNetworkSettings SharingSettings::defaultWunderground()
{
    WeatherNetworkSettings n;
    n.url = QStringLiteral(
        "https://weatherstation.wunderground.com/weatherstation/updateweatherstation.php");
    return n;
}

WeatherNetworkSettings SharingSettings::defaultPwsweather()
{
    WeatherNetworkSettings n;
    n.url = QStringLiteral("https://pwsupdate.pwsweather.com/api/v1/submitwx");
    return n;
}

SharingSettings readSharingSettings(const QString &path, QStringList *problems)
{
    SharingSettings out;
    if (!QFileInfo::exists(path))
        return out;
    QSettings s(path, QSettings::IniFormat);
    Reader r{s, problems};

    s.beginGroup(QStringLiteral("mqtt"));
    MqttSettings &m = out.mqtt;
    m.enabled = boolValue(s, QStringLiteral("enabled"));
    m.host = textValue(s, QStringLiteral("host"), m.host);
    m.port = r.integer(QStringLiteral("port"), m.port, 1, 65535);
    m.userName = textValue(s, QStringLiteral("user"), QString());
    m.password = secretValue(s, QStringLiteral("password"));
    m.tls = boolValue(s, QStringLiteral("tls"));
    m.caFile = absolutePath(textValue(s, QStringLiteral("ca_file"), QString()), path);
    m.station = textValue(s, QStringLiteral("station"), m.station);
    m.discoveryPrefix = textValue(s, QStringLiteral("discovery_prefix"), m.discoveryPrefix);
    m.intervalSeconds = r.integer(QStringLiteral("interval_seconds"), m.intervalSeconds, 5, 3600);
    s.endGroup();

    s.beginGroup(QStringLiteral("wunderground"));
    out.wunderground = readNetwork(r, SharingSettings::defaultWunderground());
    s.endGroup();
    s.beginGroup(QStringLiteral("pwsweather"));
    out.pwsweather = readNetwork(r, SharingSettings::defaultPwsweather());
    s.endGroup();

    s.beginGroup(QStringLiteral("cwop"));
    CwopSettings &c = out.cwop;
    c.enabled = boolValue(s, QStringLiteral("enabled"));
    c.server = textValue(s, QStringLiteral("server"), c.server);
    c.port = r.integer(QStringLiteral("port"), c.port, 1, 65535);
    c.callsign = textValue(s, QStringLiteral("callsign"), QString()).toUpper();
    c.passcode = textValue(s, QStringLiteral("passcode"), c.passcode);
    c.latitude = r.degrees(QStringLiteral("latitude"), 90);
    c.longitude = r.degrees(QStringLiteral("longitude"), 180);
    c.intervalMinutes = r.integer(QStringLiteral("interval_minutes"), c.intervalMinutes,
                                  MinimumCwopMinutes, 24 * 60);
    s.endGroup();
    return out;
}

QString writeSharingSettings(const QString &path, const SharingSettings &settings)
{
    QStringList lines;
    QString newline = QStringLiteral("\n");
    QFile in(path);
    if (in.exists()) {
        if (!in.open(QIODevice::ReadOnly))
            return in.errorString();
        const QString text = QString::fromUtf8(in.readAll());
        if (text.contains(QLatin1String("\r\n")))
            newline = QStringLiteral("\r\n");
        lines = text.split(QRegularExpression(QStringLiteral("\r?\n")));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
    }
    const QStringList merged = mergedLines(lines, sectionsOf(settings));
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return out.errorString();
    out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    out.write((merged.join(newline) + newline).toUtf8());
    if (!out.commit())
        return out.errorString();
    return {};
}
