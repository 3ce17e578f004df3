// A connection to an MQTT broker over libmosquitto, kept up by a thread of its own.
#pragma once

#include "sharing/mqttmessages.h"
#include "sharing/sharingsettings.h"

#include <QObject>
#include <memory>

// The connection, the reconnects with back-off (1 s doubling to 60 s) and the broker's
// replies run in a worker thread, so a slow or dead broker never holds up the event loop;
// what happens there arrives as queued signals on the owner's thread.
class MqttClient : public QObject
{
    Q_OBJECT
public:
    explicit MqttClient(QObject *parent = nullptr);
    // Ends the connection as stop() does.
    ~MqttClient() override;

    // Starts connecting with `settings`; the broker holds the last will "offline" on
    // the status topic, retained. A running connection is stopped first.
    void start(const MqttSettings &settings);
    // Publishes "offline" and ends the connection without waiting for the worker: a
    // worker still inside a connect ends by itself.
    void stop();

    bool isConnected() const { return m_connected; }
    // Queues `message` with QoS 1; false while not connected.
    bool publish(const MqttMessage &message);

signals:
    void connected();
    // A failed attempt or a lost connection, with the reason ("Connection refused",
    // "Connection Refused: not authorised."); another attempt follows after the back-off.
    void connectionFailed(const QString &reason);

private:
    struct Worker;
    std::shared_ptr<Worker> m_worker;
    bool m_connected = false;
};
