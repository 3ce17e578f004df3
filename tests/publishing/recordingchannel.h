// A transfer channel that records what it is asked to do and reports states on request.
#pragma once

#include "publishing/transferchannel.h"

#include <QStringList>

class RecordingChannel final : public TransferChannel
{
    Q_OBJECT
public:
    using TransferChannel::TransferChannel;

    void setHost(const QString &h) override { host = h; }
    void setPort(int p) override { port = p; }
    void setUserName(const QString &u) override { userName = u; }
    void setPassword(const QString &p) override { password = p; }

    bool execute(const QString &operation) override
    {
        attempts << operation;
        if (busy)
            return false;
        operations << operation;
        hostAtExecute << host;
        busy = finishOnExecute < 0;
        if (finishOnExecute >= 0)
            emit stateChanged(finishOnExecute);
        return true;
    }
    QString getChunk(int maxChars) override
    {
        chunkSizes << maxChars;
        const QString piece = response.mid(readPos, maxChars);
        readPos += piece.size();
        return piece;
    }
    void cancel() override
    {
        ++cancels;
        busy = false;
    }
    bool isBusy() const override { return busy; }

    // Ends the running operation with `state` and hands out `body` as its response.
    void finish(int state, const QString &body = QString())
    {
        response = body;
        readPos = 0;
        emit stateChanged(state);
        busy = false;
    }

    QString host;
    int port = 0;
    QString userName;
    QString password;
    QStringList attempts;   // every execute, refused ones included
    QStringList operations; // the accepted ones
    QStringList hostAtExecute;
    QList<int> chunkSizes;
    int cancels = 0;
    bool busy = false;
    int finishOnExecute = -1; // >= 0: an accepted operation ends at once with this state
    QString response;
    qsizetype readPos = 0;
};
