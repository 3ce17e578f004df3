// The station link: runs the frame handler on the station port's receive events and
// publishes the receive-buffer count and the activity lamp for the main window.
#pragma once

#include "acquisition/framehandler.h"

#include <QDateTime>
#include <QObject>
#include <functional>
#include <memory>

class Clock;
class ClockTimer;
class ReadingsRecord;
class SerialPort;

// Counts kept for diagnostics (headless mode prints them, tests check them).
struct LinkCounters
{
    qint64 framesDecoded = 0;
    qint64 badChecksums = 0;
    qint64 strayBytes = 0; // bytes read while looking for an identifier
};

// Uses the port, clock and record it is given and owns none of them. The port is opened
// and closed by whoever owns it; the link only reads from it.
class StationLink : public QObject, private FrameHandler::Listener
{
    Q_OBJECT
public:
    // `displayUnits` is asked on every frame (0 English, nonzero Metric), so a change of
    // units takes effect with the next frame of each group.
    StationLink(SerialPort &port, Clock &clock, ReadingsRecord &record,
                std::function<int()> displayUnits, QObject *parent = nullptr);
    ~StationLink() override;

    // CommCount: the bytes waiting in the receive buffer when the last receive event began.
    int commCount() const { return m_commCount; }
    // Label41's BackColor: 255 while a frame is handled (and after a bad checksum), 0 after.
    int lampColor() const { return m_lampColor; }
    const LinkCounters &counters() const { return m_counters; }
    // When the last good frame was decoded: monotonic ms (-1 before the first) and wall time.
    qint64 lastFrameMs() const { return m_lastFrameMs; }
    QDateTime lastFrameTime() const { return m_lastFrameTime; }

signals:
    void commCountChanged(int count);
    void lampColorChanged(int color);
    // A good frame was decoded into the record at `time` (the clock's wall time).
    void frameDecoded(const QDateTime &time);

private:
    void onReadyRead();
    void onDeadline();
    void armDeadline();

    // FrameHandler::Listener
    void receiveEvent(qint64 bufferCount) override;
    void lamp(int color) override;
    void frameChecked(const QByteArray &frame) override;
    void frameDropped(FrameDrop why, QByteArrayView bytes) override;

    SerialPort &m_port;
    Clock &m_clock;
    ReadingsRecord &m_record;
    std::function<int()> m_displayUnits;
    std::unique_ptr<class PortReceiveBuffer> m_buffer;
    std::unique_ptr<ClockTimer> m_deadline;
    FrameHandler m_handler;
    qint64 m_armedFor = -1;
    int m_commCount = 0;
    int m_lampColor = 0;
    LinkCounters m_counters;
    qint64 m_lastFrameMs = -1;
    QDateTime m_lastFrameTime;
};
