// The sharing services' settings: sections [mqtt], [wunderground], [pwsweather] and [cwop]
// of "corvane.conf". Every service is off until `enabled=true`.
#pragma once

#include <QString>
#include <QStringList>

// [mqtt]
struct MqttSettings
{
    bool enabled = false;
    QString host = QStringLiteral("localhost");
    int port = 1883;
    QString userName;
    QString password;
    bool tls = false;
    QString caFile;                              // absolute, or empty for the system's CAs
    QString station = QStringLiteral("station"); // corvane/<station>/...
    QString discoveryPrefix = QStringLiteral("homeassistant");
    int intervalSeconds = 60; // a changed group waits at most this long

    bool operator==(const MqttSettings &o) const;
    bool operator!=(const MqttSettings &o) const { return !(*this == o); }
};

// [wunderground] and [pwsweather]: the same upload protocol at two addresses.
struct WeatherNetworkSettings
{
    bool enabled = false;
    QString url;
    QString stationId;
    QString password;
    int intervalMinutes = 5;

    bool operator==(const WeatherNetworkSettings &o) const;
    bool operator!=(const WeatherNetworkSettings &o) const { return !(*this == o); }
};

// [cwop]
struct CwopSettings
{
    bool enabled = false;
    QString server = QStringLiteral("cwop.aprs.net");
    int port = 14580;
    QString callsign;
    QString passcode = QStringLiteral("-1");
    double latitude = 0;  // degrees, north positive
    double longitude = 0; // degrees, east positive
    int intervalMinutes = 10;

    bool operator==(const CwopSettings &o) const;
    bool operator!=(const CwopSettings &o) const { return !(*this == o); }
};

struct SharingSettings
{
    MqttSettings mqtt;
    WeatherNetworkSettings wunderground = defaultWunderground();
    WeatherNetworkSettings pwsweather = defaultPwsweather();
    CwopSettings cwop;

    static WeatherNetworkSettings defaultWunderground();
    static WeatherNetworkSettings defaultPwsweather();
};

// CWOP takes a packet at most every 5 minutes; the networks at most one a minute.
constexpr int MinimumCwopMinutes = 5;

// Reads the four sections of `path`; a missing file or key keeps the default. A value out
// of range is named in `problems` and the nearest allowed value taken. Relative CA files
// are taken from the file's folder.
SharingSettings readSharingSettings(const QString &path, QStringList *problems = nullptr);

// Writes the four sections into `path`, keeping every other section, key and comment of
// the file as it was. The file is replaced atomically and kept owner-only, since it holds
// passwords. Empty on success, otherwise why not.
QString writeSharingSettings(const QString &path, const SharingSettings &settings);
