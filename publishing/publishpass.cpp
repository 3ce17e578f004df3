// PublishWebPages step by step on the clock's timer.
#include "publishing/publishpass.h"

#include "acquisition/readingsrecord.h"
#include "config/configuration.h"
#include "core/clock.h"
#include "publishing/compassword.h"
#include "publishing/forecast.h"
#include "publishing/pagetokens.h"
#include "publishing/renderpage.h"
#include "publishing/transferchannel.h"

PublishPass::PublishPass(Clock &clock, const Configuration &config, const ReadingsRecord &readings,
                         TransferChannel &inet1, ForecastRetriever &forecast,
                         std::function<void()> armHangup, QObject *parent)
    : Job(parent), m_clock(clock), m_config(config), m_readings(readings), m_inet1(inet1),
      m_forecast(forecast), m_armHangup(std::move(armHangup)),
      m_secondPageTimer(clock.createTimer())
{
    m_secondPageTimer->setSingleShot(true);
    m_secondPageTimer->setInterval(SecondPageDelayMs);
    connect(m_secondPageTimer.get(), &ClockTimer::timeout, this, &PublishPass::secondPage);
}

PublishPass::~PublishPass() = default;

void PublishPass::run()
{
    m_gustWord = pageCompassWord(m_readings.text(QStringLiteral("GustDirection")));
    m_averageWord = pageCompassWord(m_readings.text(QStringLiteral("AverageDirection")));

    renderAndUpload(m_config.TemplateFile1, m_config.OutputFile1, m_config.UploadPath, true);

    if (m_config.OutputFile2.size() > 1 && m_config.TemplateFile2.size() > 1) {
        m_secondPageTimer->start();
        return;
    }
    requestForecastAndArmHangup();
}

void PublishPass::stopSteps()
{
    m_secondPageTimer->stop();
}

void PublishPass::secondPage()
{
    renderAndUpload(m_config.TemplateFile2, m_config.OutputFile2, m_config.UploadPath2, false);
    requestForecastAndArmHangup();
}

void PublishPass::requestForecastAndArmHangup()
{
    m_forecast.RequestForecast();
    if (m_config.AutoDisconnect && m_armHangup)
        m_armHangup();
    finish();
}

void PublishPass::renderAndUpload(const QString &templateFile, const QString &outputFile,
                                  const QString &uploadPath, bool deleteFirst)
{
    const QDateTime now = m_clock.now();
    const TokenValues values =
        PageTokenValues(m_readings, m_forecast.text(), m_gustWord, m_averageWord, now, now.toUTC());
    // A failed render is not the end of the pass: the upload then fails and says so.
    RenderPage(templateFile, outputFile, deleteFirst, values);
    // Refused while the channel is still busy; the next pass uploads again.
    m_inet1.execute(QStringLiteral("PUT ") + outputFile + QLatin1Char(' ') + uploadPath);
}
