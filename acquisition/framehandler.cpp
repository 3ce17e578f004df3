// Frame assembly and checking.
#include "acquisition/framehandler.h"

#include "acquisition/bitconversions.h"
#include "acquisition/grouplayout.h"

#include <cstring>

void FrameHandler::receive(ReceiveBuffer &buffer, qint64 nowMs)
{
    if (isWaiting()) {
        // The rest may have come in pieces; it is read at once, as one completion read.
        if (buffer.count() < m_needed && nowMs < m_deadlineMs)
            return;
        complete(buffer);
    }
    while (!isWaiting() && buffer.count() > 0)
        startEvent(buffer, nowMs);
}

void FrameHandler::expire(ReceiveBuffer &buffer, qint64 nowMs)
{
    if (isWaiting())
        complete(buffer);
    while (!isWaiting() && buffer.count() > 0)
        startEvent(buffer, nowMs);
}

void FrameHandler::startEvent(ReceiveBuffer &buffer, qint64 nowMs)
{
    m_listener.lamp(255);
    m_listener.receiveEvent(buffer.count());
    // Between frames the read size is 1: a byte that is no identifier is dropped alone,
    // and the byte after it is looked at as a possible identifier.
    char first = 0;
    const bool got = buffer.read(&first, 1) == 1;
    const GroupLayout *layout = got ? layoutForIdentifier(quint8(first)) : nullptr;
    if (!layout) {
        if (got)
            m_listener.frameDropped(FrameDrop::NotAnIdentifier, QByteArrayView(&first, 1));
        m_listener.lamp(0);
        return;
    }
    // Reuses the frame's allocation unless a listener kept a copy of the last one.
    m_frame.fill('\0', layout->length);
    m_frame[0] = first;
    m_needed = layout->length - 1;
    m_deadlineMs = nowMs + CompletionLimitMs;
    if (buffer.count() >= m_needed)
        complete(buffer);
}

void FrameHandler::complete(ReceiveBuffer &buffer)
{
    // One read of the missing bytes; what has not arrived stays 0.
    buffer.read(m_frame.data() + 1, m_needed);
    m_needed = 0;
    if (!checksumMatches(m_frame)) {
        m_listener.frameDropped(FrameDrop::BadChecksum, m_frame);
        return; // the lamp stays red until the next event ends normally
    }
    m_listener.frameChecked(m_frame);
    m_listener.lamp(0);
}

void FrameStream::feed(QByteArrayView piece, qint64 nowMs)
{
    m_lastMs = nowMs;
    if (m_handler.isWaiting() && nowMs >= m_handler.deadlineMs())
        m_handler.expire(*this, nowMs); // the piece came too late for the waiting frame
    if (m_pos > 0 && m_pos == m_bytes.size()) {
        m_bytes.resize(0); // keeps the allocation for the next piece
        m_pos = 0;
    } else if (m_pos > 4096) {
        m_bytes.remove(0, m_pos);
        m_pos = 0;
    }
    m_bytes.append(piece);
    m_handler.receive(*this, nowMs);
}

void FrameStream::finish()
{
    while (m_handler.isWaiting())
        m_handler.expire(*this, m_lastMs);
}

qint64 FrameStream::read(char *into, qint64 maxBytes)
{
    const qint64 n = qMin(maxBytes, count());
    std::memcpy(into, m_bytes.constData() + m_pos, size_t(n));
    m_pos += n;
    return n;
}
