// The MQTT service: publishes the readings of each sensor group that has changed, and Home
// Assistant's discovery messages, whenever the broker is reached.
#pragma once

#include "sharing/sharingsettings.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <functional>
#include <memory>

class Clock;
class ClockTimer;
class MqttClient;
class ReadingsRecord;
enum class SensorGroup;

class MqttService : public QObject
{
    Q_OBJECT
public:
    // `displayUnits` says in which units the record's texts are written.
    MqttService(Clock &clock, const ReadingsRecord &record, std::function<int()> displayUnits,
                QObject *parent = nullptr);
    ~MqttService() override;

    // Connects with new settings, or ends the connection when they turn the service off;
    // unchanged settings leave a connection as it is.
    void apply(const MqttSettings &settings);
    bool isConnected() const;
    // Publishes the groups that changed since the last time; the interval timer calls it.
    void publishChanged();

signals:
    void statusText(const QString &text);
    // Why the broker could not be reached; said once until the reason changes.
    void failure(const QString &reason);

private:
    void onConnected();
    void publishGroup(SensorGroup group);
    QString brokerName() const;

    Clock &m_clock;
    const ReadingsRecord &m_record;
    std::function<int()> m_displayUnits;
    MqttSettings m_settings;
    std::unique_ptr<MqttClient> m_client;
    std::unique_ptr<ClockTimer> m_interval;
    QSet<int> m_changed;                // groups, as numbers
    QHash<int, QByteArray> m_published; // each group's last JSON, since the connection
    QString m_lastFailure;
};
