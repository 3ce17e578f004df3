// One background FTP or HTTP transfer at a time, reporting its progress as numbered states.
#pragma once

#include <QObject>
#include <QString>

#include "publishing/transfertrust.h"

// The states a transfer reports, in the order they happen.
namespace TransferState {
enum : int {
    None = 0,
    Resolving = 1,
    Resolved = 2,
    Connecting = 3,
    Connected = 4,
    Requesting = 5,
    RequestSent = 6,
    Receiving = 7,
    ResponseReceived = 8,
    Disconnecting = 9,
    Disconnected = 10,
    Error = 11,
    Completed = 12,
};
}

// The publishing pass, the forecast and the graph upload talk to this; the real channel
// runs libcurl, the tests use a recording fake.
class TransferChannel : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~TransferChannel() override = default;

    virtual void setHost(const QString &host) = 0;
    virtual void setPort(int port) = 0;
    virtual void setUserName(const QString &userName) = 0;
    virtual void setPassword(const QString &password) = 0;
    // What encrypted transfers are verified against (known hosts, CA file, pinned key);
    // taken by the next operation. A channel without encryption ignores it.
    virtual void setTrust(const TransferTrust &trust) { Q_UNUSED(trust) }

    // Starts "PUT <local file> <remote file>" or "GET <path>" in the background and
    // returns at once. Returns false, starting nothing, while an operation is running
    // (until its state 11 or 12 has been handled) or when the text is neither.
    virtual bool execute(const QString &operation) = 0;
    // The next piece of the received response, at most `maxChars` characters (one per
    // byte); empty when all of it has been read.
    virtual QString getChunk(int maxChars) = 0;
    // Abandons the running operation, reporting nothing more for it; nothing happens when
    // no operation is running.
    virtual void cancel() = 0;
    virtual bool isBusy() const = 0;

signals:
    // Delivered on the thread that owns the channel, never from inside execute() or cancel().
    void stateChanged(int state);
    // Right after state 11: what failed, on which server and why, in one line that never
    // holds the password.
    void failed(const QString &reason);
    // Something worth knowing that is no failure, such as a host key recorded on first contact.
    void noted(const QString &text);
};
