// Publishing the readings over MQTT.
#include "sharing/mqttservice.h"

#include "acquisition/readingsrecord.h"
#include "core/clock.h"
#include "sharing/mqttclient.h"
#include "sharing/mqttmessages.h"

MqttService::MqttService(Clock &clock, const ReadingsRecord &record,
                         std::function<int()> displayUnits, QObject *parent)
    : QObject(parent), m_clock(clock), m_record(record), m_displayUnits(std::move(displayUnits))
{
    m_interval = m_clock.createTimer();
    connect(m_interval.get(), &ClockTimer::timeout, this, &MqttService::publishChanged);
    connect(&record, &ReadingsRecord::groupChanged, this,
            [this](SensorGroup group) { m_changed.insert(int(group)); });
}

MqttService::~MqttService() = default;

void MqttService::apply(const MqttSettings &settings)
{
    const bool running = m_client != nullptr;
    if (running && settings == m_settings)
        return;
    m_settings = settings;
    m_client.reset();
    m_interval->stop();
    m_lastFailure.clear();
    if (!settings.enabled)
        return;
    m_client = std::make_unique<MqttClient>();
    connect(m_client.get(), &MqttClient::connected, this, &MqttService::onConnected);
    connect(m_client.get(), &MqttClient::connectionFailed, this, [this](const QString &why) {
        const QString reason = QStringLiteral("MQTT broker %1: %2").arg(brokerName(), why);
        if (reason == m_lastFailure)
            return;
        m_lastFailure = reason;
        emit statusText(
            QStringLiteral("MQTT: %1 cannot be reached; corvane keeps trying.").arg(brokerName()));
        emit failure(reason);
    });
    m_interval->setInterval(settings.intervalSeconds * 1000);
    m_interval->start();
    m_client->start(settings);
}

bool MqttService::isConnected() const
{
    return m_client && m_client->isConnected();
}

QString MqttService::brokerName() const
{
    return QStringLiteral("%1:%2").arg(m_settings.host).arg(m_settings.port);
}

void MqttService::onConnected()
{
    m_lastFailure.clear();
    emit statusText(QStringLiteral("MQTT: connected to %1").arg(brokerName()));
    m_client->publish({mqttStatusTopic(m_settings.station), "online", true});
    for (const MqttMessage &m : discoveryMessages(m_settings.station, m_settings.discoveryPrefix))
        m_client->publish(m);
    // What the broker lost while it was away (or never had) comes again, all of it.
    m_changed.clear();
    m_published.clear();
    for (const SensorGroup g :
         {SensorGroup::Humidity, SensorGroup::Temperature, SensorGroup::BarometerDewpoint,
          SensorGroup::Rain, SensorGroup::Wind})
        publishGroup(g);
}

void MqttService::publishChanged()
{
    if (!isConnected())
        return; // kept as changed; the connection publishes every group anyway
    const QSet<int> changed = std::exchange(m_changed, {});
    for (const int g : changed)
        publishGroup(SensorGroup(g));
}

void MqttService::publishGroup(SensorGroup group)
{
    const WeatherReadings readings = readingsFromRecord(m_record, m_displayUnits());
    const QList<MqttMessage> messages = groupMessages(m_settings.station, group, readings);
    // The console repeats unchanged groups every few seconds; the broker keeps them retained.
    if (messages.isEmpty() || m_published.value(int(group)) == messages.first().payload)
        return;
    m_published.insert(int(group), messages.first().payload);
    for (const MqttMessage &m : messages)
        m_client->publish(m);
}
