// Weather Underground's upload protocol.
#include "sharing/networkupload.h"

#include "acquisition/conversions.h"
#include "publishing/transferchannel.h"

#include <QUrl>
#include <QUrlQuery>

namespace {

QString decimals(double v, int places)
{
    return QString::number(v, 'f', places);
}

} // namespace

QString weatherNetworkQuery(const WeatherNetworkSettings &settings, const WeatherReadings &readings,
                            const RainAmounts &rain, const QDateTime &utcNow,
                            const QString &softwareType)
{
    QUrlQuery q;
    q.addQueryItem(QStringLiteral("ID"), settings.stationId);
    q.addQueryItem(QStringLiteral("PASSWORD"), settings.password);
    q.addQueryItem(QStringLiteral("dateutc"),
                   utcNow.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    const auto add = [&q](const char *name, std::optional<double> v, auto convert, int places) {
        if (v)
            q.addQueryItem(QLatin1String(name), decimals(convert(*v), places));
    };
    const auto same = [](double v) { return v; };
    using F = SharedField;
    add("tempf", readings[F::OutdoorTemperature], celsiusToFahrenheit, 1);
    add("humidity", readings[F::OutdoorHumidity], same, 0);
    add("dewptf", readings[F::OutdoorDewpoint], celsiusToFahrenheit, 1);
    add("baromin", readings[F::SeaLevelPressure], millibarsToInchesHg, 2);
    add("windspeedmph", readings[F::AverageSpeed], metresPerSecondToMph, 1);
    add("windgustmph", readings[F::GustSpeed], metresPerSecondToMph, 1);
    add("winddir", readings[F::AverageDirection], same, 0);
    add("rainin", rain.lastHour, millimetresToInches, 2);
    add("dailyrainin", rain.sinceMidnight, millimetresToInches, 2);
    q.addQueryItem(QStringLiteral("softwaretype"), softwareType);
    q.addQueryItem(QStringLiteral("action"), QStringLiteral("updateraw"));
    // Every reserved character encoded, a "+" in a password too.
    QString out;
    for (const auto &item : q.queryItems(QUrl::FullyDecoded)) {
        if (!out.isEmpty())
            out += QLatin1Char('&');
        out += QString::fromLatin1(QUrl::toPercentEncoding(item.first)) + QLatin1Char('=') +
               QString::fromLatin1(QUrl::toPercentEncoding(item.second));
    }
    return out;
}

WeatherNetworkUpload::WeatherNetworkUpload(TransferChannel &channel, const QString &url,
                                           const QString &query, const QString &password,
                                           QObject *parent)
    : Job(parent), m_channel(channel), m_url(url), m_query(query), m_password(password)
{
}

QString WeatherNetworkUpload::masked(QString text) const
{
    if (m_password.isEmpty())
        return text;
    text.replace(QString::fromLatin1(QUrl::toPercentEncoding(m_password)), QStringLiteral("***"));
    return text.replace(m_password, QStringLiteral("***"));
}

void WeatherNetworkUpload::run()
{
    const QUrl url(m_url);
    if (!url.isValid() || url.host().isEmpty() ||
        (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https"))) {
        m_result = {UploadResult::Failed,
                    QStringLiteral("%1 is not an http or https address").arg(m_url)};
        finish();
        return;
    }
    m_channel.setHost(url.toString(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment |
                                   QUrl::RemoveUserInfo));
    m_channel.setPort(0);
    m_stateConnection =
        connect(&m_channel, &TransferChannel::stateChanged, this, &WeatherNetworkUpload::onState);
    m_failConnection = connect(&m_channel, &TransferChannel::failed, this,
                               [this](const QString &reason) { m_failure = reason; });
    const QString path = url.path(QUrl::FullyEncoded) + QLatin1Char('?') + m_query;
    if (!m_channel.execute(QStringLiteral("GET ") + path)) {
        stopSteps();
        m_result = {UploadResult::Failed, QStringLiteral("the previous upload is still running")};
        finish();
    }
}

void WeatherNetworkUpload::onState(int state)
{
    if (state == TransferState::Error) {
        // failed() follows stateChanged(11) in the same turn; take it from there.
        QMetaObject::invokeMethod(
            this,
            [this] {
                stopSteps();
                m_result = {
                    UploadResult::Failed,
                    masked(m_failure.isEmpty() ? QStringLiteral("transfer failed") : m_failure)};
                finish();
            },
            Qt::QueuedConnection);
        return;
    }
    if (state != TransferState::Completed)
        return;
    const QString reply = m_channel.getChunk(4096).trimmed();
    stopSteps();
    // The networks answer a bad station ID or password with a text, not always an error
    // status: "INVALIDPASSWORDID|Password or key and/or id are incorrect".
    const QString firstLine = reply.section(QLatin1Char('\n'), 0, 0).trimmed();
    if (firstLine.startsWith(QLatin1String("INVALID"), Qt::CaseInsensitive) ||
        firstLine.startsWith(QLatin1String("ERROR"), Qt::CaseInsensitive))
        m_result = {UploadResult::Refused, masked(firstLine.left(200))};
    else
        m_result = {UploadResult::Sent, QString()};
    finish();
}

void WeatherNetworkUpload::stopSteps()
{
    disconnect(m_stateConnection);
    disconnect(m_failConnection);
    if (m_channel.isBusy())
        m_channel.cancel();
}
