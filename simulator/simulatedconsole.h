// A simulated weather-station console: plausible, slowly changing weather written as
// console frames through a pseudo-terminal, so that the real serial path reads it.
#pragma once

#include "acquisition/readingsrecord.h"
#include "simulator/consoleweather.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <memory>

class Clock;
class ClockTimer;
class PseudoTerminal;

class SimulatedConsole : public QObject
{
    Q_OBJECT
public:
    // Frame intervals: one group every two seconds in a fixed rotation, so that all five
    // groups arrive within ten seconds.
    static constexpr int FrameIntervalMs = 2000;

    SimulatedConsole(Clock &clock, quint32 seed, QObject *parent = nullptr);
    ~SimulatedConsole() override;

    // Opens the pseudo-terminal, writes one frame of every group at once and starts the
    // timer. False when no pseudo-terminal could be opened.
    bool start();
    void stop();
    // The pseudo-terminal's slave: the device the station port opens.
    QString devicePath() const;

    // The next frame of the rotation, with the weather moved on one step; no I/O.
    QByteArray nextFrame();
    // The current weather as one frame of `group`, without moving it on.
    QByteArray frame(SensorGroup group) const;
    const ConsoleWeather &weather() const { return m_weather; }

signals:
    void frameWritten(const QByteArray &frame);

private:
    void writeFrame(const QByteArray &frame);

    Clock &m_clock;
    ConsoleWeather m_weather;
    int m_next = 0;
    std::unique_ptr<PseudoTerminal> m_pty;
    std::unique_ptr<ClockTimer> m_timer;
};
