// The one source of time for every time-dependent part of corvane.
#pragma once

#include <QDateTime>
#include <QObject>
#include <memory>

// A timer whose ticks follow the clock that created it, so that a manual clock in
// the tests fires timers exactly as the real clock would, without real waiting.
class ClockTimer : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~ClockTimer() override = default;

    virtual void setInterval(int ms) = 0; // as QTimer: a running timer restarts from now
    virtual int interval() const = 0;
    virtual void setSingleShot(bool singleShot) = 0;
    virtual bool isSingleShot() const = 0;
    virtual void start() = 0; // (re)starts counting the interval from now
    virtual void stop() = 0;
    virtual bool isActive() const = 0;

signals:
    void timeout();
};

class Clock
{
public:
    virtual ~Clock() = default;

    // Local wall-clock date and time, to the millisecond.
    virtual QDateTime now() const = 0;
    // Milliseconds on a clock that never goes back and ignores midnight.
    virtual qint64 monotonicMs() const = 0;

    // A job that must wait arms one of these and goes on from its timeout.
    virtual std::unique_ptr<ClockTimer> createTimer(QObject *parent = nullptr) = 0;
};

// The real clock: the only class that reads the system time.
class SystemClock final : public Clock
{
public:
    QDateTime now() const override;
    qint64 monotonicMs() const override;
    std::unique_ptr<ClockTimer> createTimer(QObject *parent = nullptr) override;
};
