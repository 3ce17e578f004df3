// The transfer channel on libcurl, driven by the Qt event loop of the thread that owns it.
#pragma once

#include "publishing/transferchannel.h"
#include "publishing/transferlimits.h"
#include "publishing/transfertrust.h"

#include <memory>

class CurlTransferChannel final : public TransferChannel
{
    Q_OBJECT
public:
    enum class Protocol { Ftp, Http };

    // The port starts at 21 for FTP and 80 for HTTP; the limits at TransferLimits' figures.
    explicit CurlTransferChannel(Protocol protocol, QObject *parent = nullptr);
    ~CurlTransferChannel() override;

    void setHost(const QString &host) override;
    void setPort(int port) override;
    void setUserName(const QString &userName) override;
    void setPassword(const QString &password) override;
    // Taken by the next operation.
    void setLimits(const TransferLimits &limits);
    TransferLimits limits() const;
    // Taken by the next operation; encrypted transfers are verified against it.
    void setTrust(const TransferTrust &trust) override;

    bool execute(const QString &operation) override;
    QString getChunk(int maxChars) override;
    void cancel() override;
    bool isBusy() const override;

    // Why the last operation failed: the line failed() carried; empty after a success.
    QString lastError() const;

private:
    class Private;
    friend class Private;
    std::unique_ptr<Private> d;
};
