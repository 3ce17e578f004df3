// The libmosquitto adapter.
#include "sharing/mqttclient.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include <mosquitto.h>

namespace {

void initialiseLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] { mosquitto_lib_init(); });
}

constexpr int FirstRetrySeconds = 1;
constexpr int LastRetrySeconds = 60;
constexpr int KeepAliveSeconds = 60;

} // namespace

// Shared by the client and its thread, so that a thread the client no longer waits for
// still has what it uses.
struct MqttClient::Worker
{
    mosquitto *mosq = nullptr;
    std::mutex mutex;
    std::condition_variable wake;
    bool stopping = false;
    MqttClient *receiver = nullptr; // cleared under `mutex` when the client lets go
    QString refusal;                // the broker's word on the last CONNACK (worker only)
    QString tlsError;               // OpenSSL's last error, from the library's log (worker only)
    QByteArray host;
    int port = 0;
    QByteArray statusTopic;

    ~Worker()
    {
        if (mosq)
            mosquitto_destroy(mosq);
    }

    // Runs `f` on the client's thread, unless the client has let go by then.
    void post(std::function<void(MqttClient *)> f)
    {
        std::lock_guard lock(mutex);
        if (receiver)
            QMetaObject::invokeMethod(
                receiver, [f = std::move(f), r = receiver] { f(r); }, Qt::QueuedConnection);
    }

    void report(const QString &reason)
    {
        post([reason](MqttClient *c) {
            c->m_connected = false;
            emit c->connectionFailed(reason);
        });
    }

    // The reason of a failed call: libmosquitto's text for its own codes, the system's for
    // an errno, the broker's when it refused the login.
    QString reason(int rc, int savedErrno)
    {
        if (!refusal.isEmpty())
            return std::exchange(refusal, QString());
        if (rc == MOSQ_ERR_ERRNO)
            return QString::fromLocal8Bit(std::strerror(savedErrno));
        QString text = QString::fromUtf8(mosquitto_strerror(rc));
        // libmosquitto says only "A TLS error occurred."; OpenSSL's cause is in its log.
        if (rc == MOSQ_ERR_TLS && !tlsError.isEmpty())
            text = text.chopped(1) + QStringLiteral(": ") + std::exchange(tlsError, QString());
        return text;
    }

    // Connects, runs the connection while it lasts, and tries again after a back-off.
    void run()
    {
        int delay = FirstRetrySeconds;
        bool first = true;
        while (true) {
            {
                std::unique_lock lock(mutex);
                if (stopping)
                    return;
            }
            errno = 0;
            int rc = first ? mosquitto_connect(mosq, host.constData(), port, KeepAliveSeconds)
                           : mosquitto_reconnect(mosq);
            first = false;
            // Once told to stop, the loop runs on until the "offline" and the DISCONNECT
            // that stop() queued are written, for at most two seconds.
            std::optional<std::chrono::steady_clock::time_point> deadline;
            while (rc == MOSQ_ERR_SUCCESS) {
                rc = mosquitto_loop(mosq, 200, 1);
                std::unique_lock lock(mutex);
                if (!stopping)
                    continue;
                const auto now = std::chrono::steady_clock::now();
                if (!deadline)
                    deadline = now + std::chrono::seconds(2);
                else if (now > *deadline)
                    return;
            }
            const int savedErrno = errno;
            {
                std::unique_lock lock(mutex);
                if (stopping)
                    return;
            }
            report(reason(rc, savedErrno));
            // A connection that was up starts the back-off afresh.
            if (connectedOnce.exchange(false))
                delay = FirstRetrySeconds;
            std::unique_lock lock(mutex);
            if (wake.wait_for(lock, std::chrono::seconds(delay), [this] { return stopping; }))
                return;
            delay = std::min(delay * 2, LastRetrySeconds);
        }
    }

    std::atomic<bool> connectedOnce{false};

    static void onLog(mosquitto *, void *obj, int level, const char *text)
    {
        // "OpenSSL Error[0]: error:0A000086:SSL routines::certificate verify failed"
        const QString line = QString::fromUtf8(text);
        if (level == MOSQ_LOG_ERR && line.startsWith(QLatin1String("OpenSSL Error")))
            static_cast<Worker *>(obj)->tlsError = line.section(QLatin1Char(':'), -1).trimmed();
    }

    static void onConnect(mosquitto *, void *obj, int rc)
    {
        auto *w = static_cast<Worker *>(obj);
        if (rc != 0) {
            w->refusal = QString::fromUtf8(mosquitto_connack_string(rc));
            return;
        }
        w->connectedOnce = true;
        w->post([](MqttClient *c) {
            c->m_connected = true;
            emit c->connected();
        });
    }
};

MqttClient::MqttClient(QObject *parent) : QObject(parent)
{
    initialiseLibrary();
}

MqttClient::~MqttClient()
{
    stop();
}

void MqttClient::start(const MqttSettings &settings)
{
    stop();
    auto worker = std::make_shared<Worker>();
    const QByteArray node = mqttNodeId(settings.station).toUtf8();
    const QByteArray clientId =
        "corvane-" + node + '-' + QByteArray::number(QCoreApplication::applicationPid());
    worker->mosq = mosquitto_new(clientId.constData(), true, worker.get());
    if (!worker->mosq) {
        QMetaObject::invokeMethod(
            this, [this] { emit connectionFailed(QStringLiteral("out of memory")); },
            Qt::QueuedConnection);
        return;
    }
    mosquitto_int_option(worker->mosq, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    mosquitto_threaded_set(worker->mosq, true);
    mosquitto_connect_callback_set(worker->mosq, &Worker::onConnect);
    mosquitto_log_callback_set(worker->mosq, &Worker::onLog);
    const QByteArray status = mqttStatusTopic(settings.station).toUtf8();
    mosquitto_will_set(worker->mosq, status.constData(), 7, "offline", 1, true);
    worker->statusTopic = status;
    if (!settings.userName.isEmpty())
        mosquitto_username_pw_set(worker->mosq, settings.userName.toUtf8().constData(),
                                  settings.password.toUtf8().constData());
    if (settings.tls || !settings.caFile.isEmpty()) {
        const QByteArray caFile = settings.caFile.toLocal8Bit();
        const int rc = caFile.isEmpty() ? mosquitto_tls_set(worker->mosq, nullptr, "/etc/ssl/certs",
                                                            nullptr, nullptr, nullptr)
                                        : mosquitto_tls_set(worker->mosq, caFile.constData(),
                                                            nullptr, nullptr, nullptr, nullptr);
        if (rc != MOSQ_ERR_SUCCESS) {
            const QString why =
                QStringLiteral("TLS with CA file %1: %2")
                    .arg(settings.caFile, QString::fromUtf8(mosquitto_strerror(rc)));
            QMetaObject::invokeMethod(
                this, [this, why] { emit connectionFailed(why); }, Qt::QueuedConnection);
            return;
        }
    }
    worker->host = settings.host.toUtf8();
    worker->port = settings.port;
    worker->receiver = this;
    m_worker = worker;
    std::thread([worker] { worker->run(); }).detach();
}

void MqttClient::stop()
{
    if (!m_worker)
        return;
    if (m_connected) {
        // A clean disconnect does not set off the last will; say it ourselves.
        mosquitto_publish(m_worker->mosq, nullptr, m_worker->statusTopic.constData(), 7, "offline",
                          1, true);
        mosquitto_disconnect(m_worker->mosq);
    }
    {
        std::lock_guard lock(m_worker->mutex);
        m_worker->stopping = true;
        m_worker->receiver = nullptr;
    }
    m_worker->wake.notify_all();
    m_worker.reset();
    m_connected = false;
}

bool MqttClient::publish(const MqttMessage &message)
{
    if (!m_worker || !m_connected)
        return false;
    const QByteArray topic = message.topic.toUtf8();
    return mosquitto_publish(m_worker->mosq, nullptr, topic.constData(),
                             int(message.payload.size()), message.payload.constData(), 1,
                             message.retain) == MOSQ_ERR_SUCCESS;
}
