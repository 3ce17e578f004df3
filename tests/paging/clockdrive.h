// Runs the event loop against a manual clock: small clock steps, with pseudo-terminal I/O delivered
// between them.
#pragma once

#include "acquisition/serialport.h"
#include "fakes/manualclock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <functional>

// A port that counts what passes through it, so that a test can tell when the bytes
// written on one side of a pseudo-terminal have reached the other.
class CountingPort final : public SerialPort
{
public:
    explicit CountingPort(std::unique_ptr<SerialPort> port) : m_port(std::move(port))
    {
        connect(m_port.get(), &SerialPort::readyRead, this, &SerialPort::readyRead);
    }
    void setDevicePath(const QString &path) override { m_port->setDevicePath(path); }
    QString devicePath() const override { return m_port->devicePath(); }
    void setSettings(const SerialSettings &s) override { m_port->setSettings(s); }
    bool open() override { return m_port->open(); }
    void close() override
    {
        m_consumed += m_port->bytesAvailable(); // dropped unread, but it did arrive
        m_port->close();
    }
    bool isOpen() const override { return m_port->isOpen(); }
    qint64 bytesAvailable() const override { return m_port->bytesAvailable(); }
    QByteArray read(qint64 maxBytes) override
    {
        const QByteArray data = m_port->read(maxBytes);
        m_consumed += data.size();
        return data;
    }
    qint64 write(const QByteArray &data) override
    {
        const qint64 n = m_port->write(data);
        m_written += qMax<qint64>(0, n);
        return n;
    }
    QString errorString() const override { return m_port->errorString(); }

    qint64 bytesWritten() const { return m_written; }
    qint64 bytesArrived() const { return m_consumed + (isOpen() ? bytesAvailable() : 0); }

private:
    std::unique_ptr<SerialPort> m_port;
    qint64 m_written = 0;
    qint64 m_consumed = 0;
};

// Advances `clock` in steps of `stepMs` until `done` holds or `maxSeconds` of clock time
// have passed. After each step the event loop runs until `delivered` holds (every byte
// written has reached the other side; the kernel hands pseudo-terminal data over a
// moment after the write), so that replies come at the clock time they were sent
// whatever the machine's load. Returns whether `done` came true.
inline bool driveUntil(ManualClock &clock, const std::function<bool()> &done,
                       const std::function<bool()> &delivered, double maxSeconds, int stepMs = 50)
{
    const auto settle = [&] {
        QElapsedTimer real;
        real.start();
        QCoreApplication::processEvents();
        while (!delivered() && real.elapsed() < 2000) {
            QThread::usleep(50); // I/O latency, not clock time
            QCoreApplication::processEvents();
        }
    };
    const qint64 end = clock.monotonicMs() + qint64(maxSeconds * 1000.0);
    settle();
    while (!done()) {
        if (clock.monotonicMs() >= end)
            return false;
        clock.advanceMs(stepMs);
        settle();
    }
    return true;
}
