// The simulated console.
#include "simulator/simulatedconsole.h"

#include "acquisition/pseudoterminal.h"
#include "core/clock.h"

#include <iterator>

namespace {

constexpr SensorGroup rotation[] = {SensorGroup::Humidity, SensorGroup::Temperature,
                                    SensorGroup::BarometerDewpoint, SensorGroup::Rain,
                                    SensorGroup::Wind};

} // namespace

SimulatedConsole::SimulatedConsole(Clock &clock, quint32 seed, QObject *parent)
    : QObject(parent), m_clock(clock), m_weather(seed, clock.now())
{
}

SimulatedConsole::~SimulatedConsole() = default;

bool SimulatedConsole::start()
{
    if (!m_pty) {
        auto pty = std::make_unique<PseudoTerminal>();
        if (!pty->open())
            return false;
        m_pty = std::move(pty);
    }
    if (!m_timer) {
        m_timer = m_clock.createTimer();
        m_timer->setInterval(FrameIntervalMs);
        connect(m_timer.get(), &ClockTimer::timeout, this, [this] { writeFrame(nextFrame()); });
    }
    // A whole picture at once, so that every display is filled as soon as the port opens.
    m_weather.step(m_clock.now());
    for (const SensorGroup g : rotation)
        writeFrame(m_weather.frame(g));
    m_timer->start();
    return true;
}

void SimulatedConsole::stop()
{
    if (m_timer)
        m_timer->stop();
}

QString SimulatedConsole::devicePath() const
{
    return m_pty ? m_pty->slavePath() : QString();
}

QByteArray SimulatedConsole::nextFrame()
{
    m_weather.step(m_clock.now());
    const SensorGroup g = rotation[m_next];
    m_next = (m_next + 1) % int(std::size(rotation));
    return m_weather.frame(g);
}

QByteArray SimulatedConsole::frame(SensorGroup group) const
{
    return m_weather.frame(group);
}

void SimulatedConsole::writeFrame(const QByteArray &frame)
{
    // With no reader the pseudo-terminal fills up after a few minutes; frames that do
    // not fit are lost, as they would be on a line nobody listens to.
    if (m_pty && m_pty->write(frame))
        emit frameWritten(frame);
}
