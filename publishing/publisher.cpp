// The transfer channels wired to the status bar, the forecast and the publishing passes.
#include "publishing/publisher.h"

#include "config/configuration.h"
#include "publishing/forecast.h"
#include "publishing/publishpass.h"
#include "publishing/transferchannel.h"
#include "publishing/transferstatus.h"

int ftpPortFromSetting(const QString &remotePort)
{
    bool ok = false;
    const int port = remotePort.trimmed().toInt(&ok);
    return ok && port >= 1 && port <= 65535 ? port : 21;
}

Publisher::Publisher(Clock &clock, const Configuration &config, const ReadingsRecord &readings,
                     StatusBoard &status, TransferChannel &inet1, TransferChannel &inet2,
                     TransferChannel &inet3, QObject *parent)
    : QObject(parent), m_clock(clock), m_config(config), m_readings(readings), m_inet1(inet1),
      m_inet3(inet3), m_forecast(new ForecastRetriever(inet2, config, this))
{
    new TransferStatusHandler(inet1, TransferRole::PageUpload, clock, status, this);
    auto *forecastStatus =
        new TransferStatusHandler(inet2, TransferRole::Forecast, clock, status, this);
    auto *graphStatus =
        new TransferStatusHandler(inet3, TransferRole::GraphUpload, clock, status, this);
    connect(forecastStatus, &TransferStatusHandler::requestCompleted, m_forecast,
            &ForecastRetriever::ExtractForecast);
    connect(graphStatus, &TransferStatusHandler::requestCompleted, this,
            &Publisher::graphUploadDone);
    inet2.setPort(80);
    applyFtpSettings(config);
}

Publisher::~Publisher() = default;

void Publisher::applyFtpSettings(const Configuration &config)
{
    for (TransferChannel *ftp : {&m_inet1, &m_inet3}) {
        ftp->setHost(config.RemoteHost);
        ftp->setPort(ftpPortFromSetting(config.RemotePort));
        ftp->setUserName(config.UserName);
        ftp->setPassword(config.Password);
    }
}

bool Publisher::uploadGraph(const QString &localFile, const QString &remoteFile)
{
    return m_inet3.execute(QStringLiteral("PUT ") + localFile + QLatin1Char(' ') + remoteFile);
}

std::unique_ptr<PublishPass> Publisher::createPass()
{
    return std::make_unique<PublishPass>(m_clock, m_config, m_readings, m_inet1, *m_forecast,
                                         m_armHangup);
}

void Publisher::PublishWebPages()
{
    PublishPass *pass = createPass().release();
    pass->setParent(this);
    connect(pass, &Job::finished, pass, &QObject::deleteLater);
    pass->start();
}

void Publisher::RequestForecast()
{
    m_forecast->RequestForecast();
}
