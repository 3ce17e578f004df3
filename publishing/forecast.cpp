// Forecast requests and the two cuts.
#include "publishing/forecast.h"

#include "config/configuration.h"
#include "publishing/transferchannel.h"

QString cutForecast(const QString &response, const QString &startKey, const QString &endKey)
{
    QString text = response;
    const qsizetype start = text.indexOf(startKey);
    if (start >= 0)
        text = text.mid(start);
    const qsizetype end = text.indexOf(endKey);
    if (end >= 0)
        text = text.left(end);
    return text;
}

ForecastRetriever::ForecastRetriever(TransferChannel &inet2, const Configuration &config,
                                     QObject *parent)
    : QObject(parent), m_inet2(inet2), m_config(config)
{
}

bool ForecastRetriever::isBusy() const
{
    return m_inet2.isBusy();
}

void ForecastRetriever::RequestForecast()
{
    if (m_inet2.isBusy())
        return; // the host of a running request is left alone
    m_inet2.setHost(m_config.NwsRemoteHost);
    m_inet2.setUserName(QString());
    m_inet2.setPassword(QString());
    m_inet2.execute(QStringLiteral("GET ") + m_config.NwsDownloadPath);
}

void ForecastRetriever::ExtractForecast()
{
    // The whole response is in memory by now, so the pieces are read without letting
    // events run in between: a new request started from an event could replace it.
    QString response;
    for (QString piece = m_inet2.getChunk(1024); !piece.isEmpty(); piece = m_inet2.getChunk(1024))
        response += piece;
    if (response.isEmpty())
        return;
    m_text = cutForecast(response, m_config.NwsStartKey, m_config.NwsEndKey);
    emit forecastChanged(m_text);
}
