// The publishing pass.
#include "publishing/publisher.h"

#include "acquisition/readingsrecord.h"
#include "config/configuration.h"
#include "core/clock.h"
#include "publishing/compassword.h"
#include "publishing/forecast.h"
#include "publishing/pagetokens.h"
#include "publishing/renderpage.h"
#include "publishing/transferchannel.h"
#include "publishing/transferstatus.h"

#include <QPointer>

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
      m_inet2(inet2), m_inet3(inet3), m_forecast(new ForecastRetriever(inet2, config, this))
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
    m_inet2.setPort(80);
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

void Publisher::renderAndUpload(const QString &templateFile, const QString &outputFile,
                                const QString &uploadPath, bool deleteFirst,
                                const QString &gustWord, const QString &averageWord)
{
    const QDateTime now = m_clock.now();
    const TokenValues values =
        PageTokenValues(m_readings, m_forecast->text(), gustWord, averageWord, now, now.toUTC());
    // A failed render is not the end of the pass: the upload then fails and says so.
    RenderPage(templateFile, outputFile, deleteFirst, values);
    // Refused while the channel is still busy; the next pass uploads again.
    m_inet1.execute(QStringLiteral("PUT ") + outputFile + QLatin1Char(' ') + uploadPath);
}

void Publisher::PublishWebPages()
{
    const QString gustWord = pageCompassWord(m_readings.text(QStringLiteral("GustDirection")));
    const QString averageWord =
        pageCompassWord(m_readings.text(QStringLiteral("AverageDirection")));

    renderAndUpload(m_config.TemplateFile1, m_config.OutputFile1, m_config.UploadPath, true,
                    gustWord, averageWord);

    if (m_config.OutputFile2.size() > 1 && m_config.TemplateFile2.size() > 1) {
        // Events run meanwhile, among them the first upload's states; the program may
        // even close, which ends the pass here.
        QPointer<Publisher> alive(this);
        WaitSeconds(m_clock, 10);
        if (!alive)
            return;
        renderAndUpload(m_config.TemplateFile2, m_config.OutputFile2, m_config.UploadPath2, false,
                        gustWord, averageWord);
    }

    m_forecast->RequestForecast();

    if (m_config.AutoDisconnect && m_armHangup)
        m_armHangup();
}

void Publisher::RequestForecast()
{
    m_forecast->RequestForecast();
}
