// Publishing: the three transfer channels with their status texts, and the passes that use them.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class Clock;
class ForecastRetriever;
class PublishPass;
class ReadingsRecord;
class StatusBoard;
class TransferChannel;
class TransferStatusHandler;
struct Configuration;

class Publisher : public QObject
{
    Q_OBJECT
public:
    // Inet1 and Inet3 upload by FTP and get the configured FTP settings now; Inet2 fetches
    // the forecast by HTTP on port 80. The status of all three goes to `status`.
    Publisher(Clock &clock, const Configuration &config, const ReadingsRecord &readings,
              StatusBoard &status, TransferChannel &inet1, TransferChannel &inet2,
              TransferChannel &inet3, QObject *parent = nullptr);
    ~Publisher() override;

    // What arms the dial-up hang-up timer when AutoDisconnect is set.
    void setHangupArm(std::function<void()> arm) { m_armHangup = std::move(arm); }

    // Host, port, user and password to both FTP channels, so that a saved setup reaches
    // the graph uploads as well as the pages.
    void applyFtpSettings(const Configuration &config);

    ForecastRetriever &forecast() { return *m_forecast; }

    // Starts the upload of a graph picture on Inet3 ("PUT <local> <remote>"); false when
    // the channel is still busy. Completion is signalled by graphUploadDone().
    bool uploadGraph(const QString &localFile, const QString &remoteFile);

    // A new publishing pass, not started yet: what the scheduler runs.
    std::unique_ptr<PublishPass> createPass();

public slots:
    // "Upload Web Page Now": a pass of its own that runs beside any scheduled one, and is
    // deleted when it has finished.
    void PublishWebPages();
    void RequestForecast();

signals:
    // Inet3 completed an upload.
    void graphUploadDone();

private:
    Clock &m_clock;
    const Configuration &m_config;
    const ReadingsRecord &m_readings;
    TransferChannel &m_inet1;
    TransferChannel &m_inet3;
    ForecastRetriever *m_forecast;
    std::function<void()> m_armHangup;
};

// RemotePort as a port number: 21 when it is not a number from 1 to 65535.
int ftpPortFromSetting(const QString &remotePort);
