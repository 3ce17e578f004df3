// What corvane publishes to an MQTT broker: topics and payloads, Home Assistant discovery
// included. No I/O here.
#pragma once

#include "sharing/weatherreadings.h"

#include <QByteArray>
#include <QList>
#include <QString>

struct MqttMessage
{
    QString topic;
    QByteArray payload;
    bool retain = true;

    bool operator==(const MqttMessage &o) const
    {
        return topic == o.topic && payload == o.payload && retain == o.retain;
    }
};

// The station's name as a topic level and an object id: letters, digits, "_" and "-",
// anything else as "_"; "station" when nothing is left.
QString mqttNodeId(const QString &station);

// "corvane/<station>"
QString mqttBaseTopic(const QString &station);
// "corvane/<station>/status": "online" while connected, the broker's last will "offline".
QString mqttStatusTopic(const QString &station);

// The readings of `group` that the station has sent: one JSON object on
// "corvane/<station>/<group>" ({"outdoor_temperature": 21.5, ...}) and one message per
// field on "corvane/<station>/<group>/<field>". Nothing when the group has no reading.
QList<MqttMessage> groupMessages(const QString &station, SensorGroup group,
                                 const WeatherReadings &readings);

// One "<prefix>/sensor/<node>/<field>/config" message per shared field, so that Home
// Assistant shows each with its device class, unit and state class.
QList<MqttMessage> discoveryMessages(const QString &station, const QString &prefix);
