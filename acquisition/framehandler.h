// Frame assembly and checking for the station link, one receive event at a time, with the
// time passed in so that the same rules serve the serial port, standard input and tests.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

// The receive buffer the handler reads from: the station port's, or bytes held in memory.
class ReceiveBuffer
{
public:
    virtual ~ReceiveBuffer() = default;
    virtual qint64 count() const = 0;                     // bytes waiting (InBufferCount)
    virtual qint64 read(char *into, qint64 maxBytes) = 0; // at most maxBytes of them (Input)
};

enum class FrameDrop { NotAnIdentifier, BadChecksum };

// Each receive event reads one byte. An identifier byte starts a frame; the handler then
// waits until the rest of the frame is waiting in the buffer or the completion limit has
// passed, reads the rest at once, checks the sum and hands a good frame on. Any other
// byte is dropped, which is how the link finds the next frame after noise.
class FrameHandler
{
public:
    static constexpr int CompletionLimitMs = 300;

    class Listener
    {
    public:
        virtual ~Listener() = default;
        // A receive event began with `bufferCount` bytes waiting.
        virtual void receiveEvent(qint64 bufferCount) { Q_UNUSED(bufferCount) }
        // The activity lamp: 255 when an event begins, 0 when it ends normally. A bad
        // checksum ends the event without turning it back.
        virtual void lamp(int color) { Q_UNUSED(color) }
        // A whole frame whose checksum matched, identifier first.
        virtual void frameChecked(const QByteArray &frame) = 0;
        virtual void frameDropped(FrameDrop why, QByteArrayView bytes)
        {
            Q_UNUSED(why)
            Q_UNUSED(bytes)
        }
    };

    explicit FrameHandler(Listener &listener) : m_listener(listener) {}

    // Runs receive events until the buffer is empty or a frame is waiting for its rest.
    // A waiting frame is completed first when its rest has arrived, or finished with what
    // there is when `nowMs` (monotonic) is past its deadline.
    void receive(ReceiveBuffer &buffer, qint64 nowMs);
    // The deadline has passed: completes the waiting frame with the bytes that have
    // arrived (missing bytes count as 0, so the checksum normally drops it), then goes
    // on with whatever else is waiting.
    void expire(ReceiveBuffer &buffer, qint64 nowMs);

    bool isWaiting() const { return m_needed > 0; }
    qint64 deadlineMs() const { return m_deadlineMs; }

private:
    void startEvent(ReceiveBuffer &buffer, qint64 nowMs);
    void complete(ReceiveBuffer &buffer);

    Listener &m_listener;
    QByteArray m_frame;  // the frame being completed, zero-filled to its full length
    qint64 m_needed = 0; // bytes still to read for it; 0 when no frame is waiting
    qint64 m_deadlineMs = 0;
};

// The frame handler over bytes held in memory, fed in the pieces they arrive in:
// `corvane decode`, the fuzzer and the benchmark use it without a port.
class FrameStream final : private ReceiveBuffer
{
public:
    explicit FrameStream(FrameHandler::Listener &listener) : m_handler(listener) {}

    // `piece` arrived at `nowMs`. A frame still waiting from earlier pieces whose deadline
    // has passed is finished before the piece is looked at.
    void feed(QByteArrayView piece, qint64 nowMs);
    // No more bytes will come: a waiting frame is finished with what it has.
    void finish();

    bool isWaiting() const { return m_handler.isWaiting(); }
    qint64 pending() const { return count(); }

private:
    qint64 count() const override { return m_bytes.size() - m_pos; }
    qint64 read(char *into, qint64 maxBytes) override;

    FrameHandler m_handler;
    QByteArray m_bytes;
    qint64 m_pos = 0;
    qint64 m_lastMs = 0;
};
