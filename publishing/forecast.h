// The forecast: fetched over HTTP, cut between two marker texts, kept for the pages.
#pragma once

#include <QObject>
#include <QString>

class TransferChannel;
struct Configuration;

// The text from the first `startKey` (kept) up to the first `endKey` after it (dropped).
// A key that is not found cuts nothing; an empty key is found at the first character, so
// an empty end key leaves nothing.
QString cutForecast(const QString &response, const QString &startKey, const QString &endKey);

// Holds ForecastText, empty at start. The main window's Forecast box follows
// forecastChanged(); "Generate Forecast" calls RequestForecast().
class ForecastRetriever : public QObject
{
    Q_OBJECT
public:
    // `inet2` gets the forecast host before each request; the configuration is read
    // afresh each time.
    ForecastRetriever(TransferChannel &inet2, const Configuration &config,
                      QObject *parent = nullptr);

    QString text() const { return m_text; }
    // A request is on its way; another one now would be dropped.
    bool isBusy() const;

public slots:
    // Starts the download in the background; dropped without a word when Inet2 is busy.
    void RequestForecast();
    // Collects the completed response and cuts it. An empty response keeps the forecast.
    void ExtractForecast();

signals:
    void forecastChanged(const QString &text);

private:
    TransferChannel &m_inet2;
    const Configuration &m_config;
    QString m_text;
};
