// How long a transfer may wait and how much it may receive before it is given up.
#pragma once

#include <QtGlobal>

// A default-built value holds the figures the program runs with; tests shorten them.
struct TransferLimits
{
    // A server that takes the connection and never answers is given up after this long;
    // so is one that stops answering between commands.
    static constexpr int kConnectSeconds = 30;
    static constexpr int kServerResponseSeconds = 30;
    // No limit on the whole transfer: a 600 KB picture over a 33.6 kbit/s line takes
    // about 150 s. A line that moves less than this for this long is dead.
    static constexpr int kLowSpeedBytesPerSecond = 100;
    static constexpr int kLowSpeedSeconds = 60;
    // A forecast page is a few kilobytes; an endless reply must not fill the memory.
    static constexpr qint64 kMaxReceivedBytes = 4 * 1024 * 1024;
    // What the kernel may queue behind curl's last write of an upload, which the server's
    // final reply waits for. The kernel doubles it for its bookkeeping; even 64 KiB clear
    // a 33.6 kbit/s line in 16 s, well inside the 30 s that reply is given.
    static constexpr int kSendBufferBytes = 32 * 1024;

    int connectSeconds = kConnectSeconds;
    int serverResponseSeconds = kServerResponseSeconds;
    int lowSpeedBytesPerSecond = kLowSpeedBytesPerSecond;
    int lowSpeedSeconds = kLowSpeedSeconds;
    qint64 maxReceivedBytes = kMaxReceivedBytes;
    int sendBufferBytes = kSendBufferBytes;

    friend bool operator==(const TransferLimits &a, const TransferLimits &b)
    {
        return a.connectSeconds == b.connectSeconds &&
               a.serverResponseSeconds == b.serverResponseSeconds &&
               a.lowSpeedBytesPerSecond == b.lowSpeedBytesPerSecond &&
               a.lowSpeedSeconds == b.lowSpeedSeconds && a.maxReceivedBytes == b.maxReceivedBytes &&
               a.sendBufferBytes == b.sendBufferBytes;
    }
};
