// Serial devices in memory: the test decides which device paths are plugged in and what each
// device sends, and reads what the program wrote. Ports come from bus.factory().
#pragma once

#include "acquisition/serialport.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <functional>
#include <memory>

class ScriptedSerialBus;

class ScriptedSerialPort final : public SerialPort
{
public:
    explicit ScriptedSerialPort(ScriptedSerialBus &bus) : m_bus(bus) {}
    ~ScriptedSerialPort() override;

    void setDevicePath(const QString &path) override { m_path = path; }
    QString devicePath() const override { return m_path; }
    void setSettings(const SerialSettings &settings) override { m_settings = settings; }
    SerialSettings settings() const { return m_settings; }

    bool open() override;
    void close() override
    {
        m_open = false;
        m_received.clear();
    }
    bool isOpen() const override { return m_open; }

    qint64 bytesAvailable() const override { return m_received.size(); }
    QByteArray read(qint64 maxBytes) override
    {
        const QByteArray bytes = m_received.left(maxBytes);
        m_received.remove(0, bytes.size());
        return bytes;
    }
    qint64 write(const QByteArray &data) override;
    QString errorString() const override { return m_error; }

    // The device sends `bytes`: they wait in the receive buffer and readyRead is emitted.
    void deliver(const QByteArray &bytes)
    {
        m_received += bytes;
        emit readyRead();
    }
    // The device went away: the port closes and says why.
    void loseDevice(const QString &why)
    {
        close();
        m_error = why;
        emit lost(why);
    }

private:
    ScriptedSerialBus &m_bus;
    QString m_path;
    SerialSettings m_settings;
    bool m_open = false;
    QByteArray m_received;
    QString m_error;
};

class ScriptedSerialBus
{
public:
    void plug(const QString &path) { m_present.insert(path); }
    // Unplugs `path`; a port open on it is lost.
    void unplug(const QString &path)
    {
        m_present.remove(path);
        if (ScriptedSerialPort *p = openPort(path))
            p->loseDevice(QStringLiteral("The device was removed"));
    }
    // The device at `path` sends `bytes`; false when no port has it open.
    bool send(const QString &path, const QByteArray &bytes)
    {
        ScriptedSerialPort *p = openPort(path);
        if (p)
            p->deliver(bytes);
        return p != nullptr;
    }
    bool isOpen(const QString &path) { return openPort(path) != nullptr; }
    QByteArray written(const QString &path) const { return m_written.value(path); }

    std::function<std::unique_ptr<SerialPort>()> factory()
    {
        return [this] { return std::make_unique<ScriptedSerialPort>(*this); };
    }

private:
    friend class ScriptedSerialPort;
    ScriptedSerialPort *openPort(const QString &path)
    {
        for (ScriptedSerialPort *p : std::as_const(m_ports)) {
            if (p->isOpen() && p->devicePath() == path)
                return p;
        }
        return nullptr;
    }

    QSet<QString> m_present;
    QList<ScriptedSerialPort *> m_ports;
    QHash<QString, QByteArray> m_written;
};

inline ScriptedSerialPort::~ScriptedSerialPort()
{
    m_bus.m_ports.removeAll(this);
}

inline bool ScriptedSerialPort::open()
{
    if (m_open)
        return true;
    if (!m_bus.m_present.contains(m_path)) {
        m_error = QStringLiteral("No such device: %1").arg(m_path);
        return false;
    }
    // One program at a time has a device open, as with a locked serial port.
    if (m_bus.openPort(m_path)) {
        m_error = QStringLiteral("Device busy: %1").arg(m_path);
        return false;
    }
    m_bus.m_ports.removeAll(this);
    m_bus.m_ports.append(this);
    m_open = true;
    m_error.clear();
    return true;
}

inline qint64 ScriptedSerialPort::write(const QByteArray &data)
{
    if (!m_open)
        return -1;
    m_bus.m_written[m_path] += data;
    return data.size();
}
