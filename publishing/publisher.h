// The publishing pass: both pages rendered and uploaded, the forecast requested, the hang-up armed.
#pragma once

#include <QObject>
#include <functional>

class Clock;
class ForecastRetriever;
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

public slots:
    void PublishWebPages();
    void RequestForecast();

signals:
    // Inet3 completed an upload.
    void graphUploadDone();

private:
    void renderAndUpload(const QString &templateFile, const QString &outputFile,
                         const QString &uploadPath, bool deleteFirst, const QString &gustWord,
                         const QString &averageWord);

    Clock &m_clock;
    const Configuration &m_config;
    const ReadingsRecord &m_readings;
    TransferChannel &m_inet1;
    TransferChannel &m_inet2;
    TransferChannel &m_inet3;
    ForecastRetriever *m_forecast;
    std::function<void()> m_armHangup;
};

// RemotePort as a port number: 21 when it is not a number from 1 to 65535.
int ftpPortFromSetting(const QString &remotePort);
