// The upload protocol of Weather Underground and PWSweather: one HTTP GET per report.
#pragma once

#include "core/job.h"
#include "sharing/sharingsettings.h"
#include "sharing/weatherreadings.h"

#include <QDateTime>
#include <QString>

class TransferChannel;

// The query of one report, in the protocol's units (°F, inHg, mph, inches) converted from
// the readings' numbers. A reading the station has not sent is left out, never sent as 0.
// `utcNow` is the report's time.
QString weatherNetworkQuery(const WeatherNetworkSettings &settings, const WeatherReadings &readings,
                            const RainAmounts &rain, const QDateTime &utcNow,
                            const QString &softwareType);

// The outcome of one upload; `reason` never holds the password.
struct UploadResult
{
    enum Kind { Sent, Failed, Refused };
    Kind kind = Failed;
    QString reason;
};

// One report sent on `channel` (an HTTP transfer channel). finished() follows the reply or
// the channel's failure; result() says which.
class WeatherNetworkUpload final : public Job
{
    Q_OBJECT
public:
    WeatherNetworkUpload(TransferChannel &channel, const QString &url, const QString &query,
                         const QString &password, QObject *parent = nullptr);

    UploadResult result() const { return m_result; }

protected:
    void run() override;
    void stopSteps() override;

private:
    void onState(int state);
    QString masked(QString text) const;

    TransferChannel &m_channel;
    QString m_url;
    QString m_query;
    QString m_password;
    QString m_failure;
    UploadResult m_result;
    QMetaObject::Connection m_stateConnection;
    QMetaObject::Connection m_failConnection;
};
