// The transfer channel on libcurl, driven by the Qt event loop of the thread that owns it.
#pragma once

#include "publishing/transferchannel.h"

#include <memory>

class CurlTransferChannel final : public TransferChannel
{
    Q_OBJECT
public:
    enum class Protocol { Ftp, Http };

    // The port starts at 21 for FTP and 80 for HTTP; both time-outs at 60 s.
    explicit CurlTransferChannel(Protocol protocol, QObject *parent = nullptr);
    ~CurlTransferChannel() override;

    void setHost(const QString &host) override;
    void setPort(int port) override;
    void setUserName(const QString &userName) override;
    void setPassword(const QString &password) override;
    // Time allowed to connect, and for the whole operation.
    void setTimeouts(int connectMs, int totalMs);

    bool execute(const QString &operation) override;
    QString getChunk(int maxChars) override;
    void cancel() override;
    bool isBusy() const override;

    // Why the last operation failed, for diagnostics; never holds the password.
    QString lastError() const;

private:
    class Private;
    friend class Private;
    std::unique_ptr<Private> d;
};
