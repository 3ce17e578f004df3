// The station link.
#include "acquisition/stationlink.h"

#include "acquisition/readingsrecord.h"
#include "acquisition/readingstexts.h"
#include "acquisition/serialport.h"
#include "core/clock.h"

#include <cstring>

class PortReceiveBuffer final : public ReceiveBuffer
{
public:
    explicit PortReceiveBuffer(SerialPort &port) : m_port(port) {}
    qint64 count() const override { return m_port.bytesAvailable(); }
    qint64 read(char *into, qint64 maxBytes) override
    {
        const QByteArray bytes = m_port.read(maxBytes);
        const qint64 n = qMin<qint64>(bytes.size(), maxBytes);
        std::memcpy(into, bytes.constData(), size_t(n));
        return n;
    }

private:
    SerialPort &m_port;
};

StationLink::StationLink(SerialPort &port, Clock &clock, ReadingsRecord &record,
                         std::function<int()> displayUnits, QObject *parent)
    : QObject(parent), m_port(port), m_clock(clock), m_record(record),
      m_displayUnits(std::move(displayUnits)), m_buffer(std::make_unique<PortReceiveBuffer>(port)),
      m_deadline(clock.createTimer()), m_handler(*this)
{
    m_deadline->setSingleShot(true);
    connect(&m_port, &SerialPort::readyRead, this, &StationLink::onReadyRead);
    connect(m_deadline.get(), &ClockTimer::timeout, this, &StationLink::onDeadline);
}

StationLink::~StationLink() = default;

void StationLink::onReadyRead()
{
    m_handler.receive(*m_buffer, m_clock.monotonicMs());
    armDeadline();
}

void StationLink::onDeadline()
{
    // A busy moment may have held back the port's receive event for bytes that came in
    // time: take them first, so the frame is judged by what has arrived.
    m_port.takeArrived();
    m_handler.receive(*m_buffer, m_clock.monotonicMs());
    armDeadline();
}

// The completion limit is a deadline the event loop checks, not a wait that blocks it:
// the timer finishes a frame whose rest never comes, readyRead one whose rest does.
void StationLink::armDeadline()
{
    if (!m_handler.isWaiting()) {
        m_deadline->stop();
        return;
    }
    if (m_deadline->isActive() && m_armedFor == m_handler.deadlineMs())
        return;
    m_armedFor = m_handler.deadlineMs();
    m_deadline->setInterval(int(qMax<qint64>(0, m_armedFor - m_clock.monotonicMs())));
    m_deadline->start();
}

void StationLink::receiveEvent(qint64 bufferCount)
{
    const int count = int(qMin<qint64>(bufferCount, INT_MAX));
    if (count == m_commCount)
        return;
    m_commCount = count;
    emit commCountChanged(count);
}

void StationLink::lamp(int color)
{
    if (color == m_lampColor)
        return;
    m_lampColor = color;
    emit lampColorChanged(color);
}

void StationLink::frameChecked(const QByteArray &frame)
{
    const int units = m_displayUnits ? m_displayUnits() : 0;
    const QDateTime now = m_clock.now();
    if (!applyFrame(frame, m_record, units, now.date()))
        return;
    ++m_counters.framesDecoded;
    m_lastFrameMs = m_clock.monotonicMs();
    m_lastFrameTime = now;
    emit frameDecoded(now);
}

void StationLink::frameDropped(FrameDrop why, QByteArrayView bytes)
{
    if (why == FrameDrop::BadChecksum)
        ++m_counters.badChecksums;
    else
        m_counters.strayBytes += bytes.size();
}
