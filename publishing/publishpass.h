// One publishing pass as a job: page 1, 10 seconds, page 2, the forecast request, the hang-up.
#pragma once

#include "core/job.h"

#include <QString>
#include <functional>
#include <memory>

class Clock;
class ClockTimer;
class ForecastRetriever;
class ReadingsRecord;
class TransferChannel;
struct Configuration;

// The pass does not wait for the uploads: each runs on Inet1 in the background, and a
// page 2 refused because page 1 is still going up is simply not sent this time.
class PublishPass : public Job
{
    Q_OBJECT
public:
    // Page 2 follows page 1 after this long, which page 1's upload is relied on to need.
    static constexpr int SecondPageDelayMs = 10000;

    // `armHangup` arms the dial-up hang-up when AutoDisconnect is set; it may be empty.
    PublishPass(Clock &clock, const Configuration &config, const ReadingsRecord &readings,
                TransferChannel &inet1, ForecastRetriever &forecast,
                std::function<void()> armHangup, QObject *parent = nullptr);
    ~PublishPass() override;

protected:
    void run() override;
    void stopSteps() override;

private:
    void secondPage();
    void requestForecastAndArmHangup();
    void renderAndUpload(const QString &templateFile, const QString &outputFile,
                         const QString &uploadPath, bool deleteFirst);

    Clock &m_clock;
    const Configuration &m_config;
    const ReadingsRecord &m_readings;
    TransferChannel &m_inet1;
    ForecastRetriever &m_forecast;
    std::function<void()> m_armHangup;
    std::unique_ptr<ClockTimer> m_secondPageTimer;
    // Both pages show the compass words of the pass's start.
    QString m_gustWord;
    QString m_averageWord;
};
