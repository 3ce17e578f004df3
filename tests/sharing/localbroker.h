// A mosquitto broker of the test's own on 127.0.0.1, and a subscriber that records what
// the broker passes on.
#pragma once

#include <QMutex>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <mosquitto.h>
#include <pwd.h>
#include <unistd.h>

class LocalBroker
{
public:
    ~LocalBroker() { stop(); }

    // With a user, only that user with that password may connect; `listenerConfig` adds
    // lines to the listener's (a certificate for TLS).
    bool start(const QString &user = {}, const QString &password = {},
               const QByteArray &listenerConfig = {})
    {
        if (m_port == 0) {
            QTcpServer probe; // a free port, kept for restarts
            if (!probe.listen(QHostAddress::LocalHost))
                return false;
            m_port = probe.serverPort();
        }
        QByteArray config = "listener " + QByteArray::number(m_port) + " 127.0.0.1\n" +
                            listenerConfig + "persistence false\nlog_dest none\n";
        // Started by root, mosquitto would become the user "mosquitto", who cannot read
        // this test's private folder.
        if (const passwd *me = getpwuid(getuid()))
            config += "user " + QByteArray(me->pw_name) + "\n";
        if (!user.isEmpty()) {
            const QString passwords = m_dir.filePath(QStringLiteral("passwd"));
            if (QProcess::execute(QStringLiteral("mosquitto_passwd"),
                                  {"-c", "-b", passwords, user, password}) != 0)
                return false;
            config += "allow_anonymous false\npassword_file " + passwords.toUtf8() + "\n";
        } else {
            config += "allow_anonymous true\n";
        }
        QFile file(m_dir.filePath(QStringLiteral("mosquitto.conf")));
        if (!file.open(QIODevice::WriteOnly) || file.write(config) != config.size())
            return false;
        file.close();
        m_process.start(QStringLiteral("/usr/sbin/mosquitto"), {"-c", file.fileName()});
        if (!m_process.waitForStarted(5000))
            return false;
        for (int i = 0; i < 100; ++i) {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, m_port);
            if (probe.waitForConnected(100))
                return true;
            QTest::qWait(50);
        }
        return false;
    }

    // As a crash would: no goodbye to the clients.
    void kill()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }

    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            kill();
    }

    quint16 port() const { return m_port; }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
};

// Subscribes to everything, again after each reconnect, on libmosquitto's own thread.
class Subscriber
{
public:
    explicit Subscriber(quint16 port)
    {
        mosquitto_lib_init();
        m_mosq = mosquitto_new(nullptr, true, this);
        mosquitto_connect_callback_set(m_mosq, [](mosquitto *m, void *, int rc) {
            if (rc == 0)
                mosquitto_subscribe(m, nullptr, "#", 1);
        });
        mosquitto_message_callback_set(
            m_mosq, [](mosquitto *, void *self, const mosquitto_message *msg) {
                auto *s = static_cast<Subscriber *>(self);
                QMutexLocker lock(&s->m_mutex);
                s->m_messages.append(
                    {QString::fromUtf8(msg->topic),
                     QByteArray(static_cast<const char *>(msg->payload), msg->payloadlen)});
            });
        mosquitto_reconnect_delay_set(m_mosq, 1, 1, false);
        mosquitto_connect_async(m_mosq, "127.0.0.1", port, 60);
        mosquitto_loop_start(m_mosq);
    }
    ~Subscriber()
    {
        mosquitto_disconnect(m_mosq);
        mosquitto_loop_stop(m_mosq, true);
        mosquitto_destroy(m_mosq);
    }

    QList<std::pair<QString, QByteArray>> messages()
    {
        QMutexLocker lock(&m_mutex);
        return m_messages;
    }
    // The last payload on `topic`; null when none came.
    QByteArray last(const QString &topic)
    {
        QMutexLocker lock(&m_mutex);
        for (auto it = m_messages.crbegin(); it != m_messages.crend(); ++it) {
            if (it->first == topic)
                return it->second;
        }
        return {};
    }
    void clear()
    {
        QMutexLocker lock(&m_mutex);
        m_messages.clear();
    }

private:
    mosquitto *m_mosq = nullptr;
    QMutex m_mutex;
    QList<std::pair<QString, QByteArray>> m_messages;
};
