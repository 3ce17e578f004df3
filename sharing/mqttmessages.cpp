// Topics and payloads of the MQTT service.
#include "sharing/mqttmessages.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// Home Assistant's sensor device classes; a direction has none.
QString deviceClass(SharedQuantity q)
{
    switch (q) {
    case SharedQuantity::Temperature:
        return QStringLiteral("temperature");
    case SharedQuantity::Humidity:
        return QStringLiteral("humidity");
    case SharedQuantity::Pressure:
        return QStringLiteral("atmospheric_pressure");
    case SharedQuantity::Speed:
        return QStringLiteral("wind_speed");
    case SharedQuantity::Rain:
        return QStringLiteral("precipitation");
    case SharedQuantity::RainRate:
        return QStringLiteral("precipitation_intensity");
    case SharedQuantity::Direction:
        break;
    }
    return {};
}

// The console's rain total only grows until it is reset, which "total_increasing" expects.
QString stateClass(SharedField field)
{
    return field == SharedField::RainTotal ? QStringLiteral("total_increasing")
                                           : QStringLiteral("measurement");
}

QByteArray number(double v)
{
    return QByteArray::number(v, 'g', 10);
}

} // namespace

QString mqttNodeId(const QString &station)
{
    QString id;
    for (const QChar c : station.trimmed()) {
        const bool plain = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
                           (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                           c == QLatin1Char('_') || c == QLatin1Char('-');
        id += plain ? c : QLatin1Char('_');
    }
    return id.isEmpty() ? QStringLiteral("station") : id;
}

QString mqttBaseTopic(const QString &station)
{
    return QStringLiteral("corvane/") + mqttNodeId(station);
}

QString mqttStatusTopic(const QString &station)
{
    return mqttBaseTopic(station) + QStringLiteral("/status");
}

QList<MqttMessage> groupMessages(const QString &station, SensorGroup group,
                                 const WeatherReadings &readings)
{
    const QString topic = mqttBaseTopic(station) + QLatin1Char('/') + groupKey(group);
    QList<MqttMessage> out;
    QJsonObject json;
    for (const SharedFieldInfo &info : sharedFields()) {
        const auto value = readings[info.field];
        if (info.group != group || !value)
            continue;
        json.insert(QLatin1String(info.key), *value);
        out.append({topic + QLatin1Char('/') + QLatin1String(info.key), number(*value), true});
    }
    if (json.isEmpty())
        return {};
    out.prepend({topic, QJsonDocument(json).toJson(QJsonDocument::Compact), true});
    return out;
}

QList<MqttMessage> discoveryMessages(const QString &station, const QString &prefix)
{
    const QString node = mqttNodeId(station);
    const QString base = mqttBaseTopic(station);
    const QJsonObject device{
        {QStringLiteral("identifiers"), QJsonArray{QStringLiteral("corvane_") + node}},
        {QStringLiteral("name"), station.trimmed().isEmpty() ? node : station.trimmed()},
        {QStringLiteral("manufacturer"), QStringLiteral("corvane")},
        {QStringLiteral("model"), QStringLiteral("WX-200 / WM-918 console")},
    };
    QList<MqttMessage> out;
    for (const SharedFieldInfo &info : sharedFields()) {
        QJsonObject config{
            {QStringLiteral("name"), QLatin1String(info.caption)},
            {QStringLiteral("unique_id"),
             QStringLiteral("corvane_") + node + QLatin1Char('_') + QLatin1String(info.key)},
            {QStringLiteral("state_topic"), base + QLatin1Char('/') + groupKey(info.group) +
                                                QLatin1Char('/') + QLatin1String(info.key)},
            {QStringLiteral("unit_of_measurement"), unitSymbol(info.quantity)},
            {QStringLiteral("state_class"), stateClass(info.field)},
            {QStringLiteral("availability_topic"), mqttStatusTopic(station)},
            {QStringLiteral("payload_available"), QStringLiteral("online")},
            {QStringLiteral("payload_not_available"), QStringLiteral("offline")},
            {QStringLiteral("device"), device},
        };
        const QString cls = deviceClass(info.quantity);
        if (!cls.isEmpty())
            config.insert(QStringLiteral("device_class"), cls);
        out.append({prefix + QStringLiteral("/sensor/") + node + QLatin1Char('/') +
                        QLatin1String(info.key) + QStringLiteral("/config"),
                    QJsonDocument(config).toJson(QJsonDocument::Compact), true});
    }
    return out;
}
