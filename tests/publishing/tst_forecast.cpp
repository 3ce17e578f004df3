// Forecast pages served by a local HTTP server, cut between the two keys.
#include "config/configuration.h"
#include "core/statusboard.h"
#include "fakes/manualclock.h"
#include "localserver.h"
#include "publishing/curltransferchannel.h"
#include "publishing/forecast.h"
#include "publishing/transferstatus.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

// Inet2 with its state handling and the forecast, as the publisher wires them.
struct ForecastRig
{
    explicit ForecastRig(const Configuration &config) : retriever(inet2, config)
    {
        QObject::connect(&handler, &TransferStatusHandler::requestCompleted, &retriever,
                         &ForecastRetriever::ExtractForecast);
    }
    // Requests the page and waits until Inet2 has handled its last state.
    bool fetch()
    {
        QSignalSpy states(&inet2, &TransferChannel::stateChanged);
        retriever.RequestForecast();
        return QTest::qWaitFor([&] { return !states.isEmpty() && !inet2.isBusy(); }, 20000);
    }
    ManualClock clock;
    StatusBoard status;
    CurlTransferChannel inet2{CurlTransferChannel::Protocol::Http};
    TransferStatusHandler handler{inet2, TransferRole::Forecast, clock, status};
    ForecastRetriever retriever;
};

class TestForecast : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void servedPagesAreCut_data();
    void servedPagesAreCut();
    void failedOrEmptyResponseKeepsForecast_data();
    void failedOrEmptyResponseKeepsForecast();

private:
    void setBody(const QByteArray &bytes);

    QTemporaryDir m_dir;
    LocalServer m_http;
    LocalServer m_failing;
};

void TestForecast::setBody(const QByteArray &bytes)
{
    QFile f(m_dir.filePath("page.html")); // both servers read it afresh for every request
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

void TestForecast::initTestCase()
{
    setBody("");
    QVERIFY(m_http.start("httpserver.py", {"--body", m_dir.filePath("page.html")}));
    QVERIFY(m_failing.start("httpserver.py",
                            {"--body", m_dir.filePath("page.html"), "--status", "500"}));
}

void TestForecast::servedPagesAreCut_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("startKey");
    QTest::addColumn<QString>("endKey");
    QTest::addColumn<QString>("forecast");
    const auto row = [](const char *name, const QString &body, const char *start, const char *end,
                        const QString &forecast) {
        QTest::newRow(name) << body << QString(start) << QString(end) << forecast;
    };
    row("both keys", "abSTARTcdeENDfg", "START", "END", "STARTcde");
    row("start key missing", "abcdeENDfg", "START", "END", "abcde");
    row("end key missing", "abSTARTcdefg", "START", "END", "STARTcdefg");
    row("neither key", "abcdefg", "START", "END", "abcdefg");
    row("empty start key", "abSTARTcdeENDfg", "", "END", "abSTARTcde");
    row("empty end key", "abSTARTcdeENDfg", "START", "", "");
    row("end key before start key only", "abENDcdSTARTef", "START", "END", "STARTef");
    row("first occurrences", "xSTART1END2START3END", "START", "END", "START1");
    row("case-sensitive keys", "abstartcdeendfg", "START", "END", "abstartcdeendfg");
    row("keys across pieces", QString(1020, 'a') + "START" + QString(1500, 'b') + "END", "START",
        "END", "START" + QString(1500, 'b'));
}

void TestForecast::servedPagesAreCut()
{
    QFETCH(QString, body);
    QFETCH(QString, startKey);
    QFETCH(QString, endKey);
    QFETCH(QString, forecast);
    setBody(body.toLatin1());
    Configuration config;
    config.NwsRemoteHost = QStringLiteral("127.0.0.1:%1").arg(m_http.port());
    config.NwsDownloadPath = QStringLiteral("/forecast/zone.html");
    config.NwsStartKey = startKey;
    config.NwsEndKey = endKey;
    ForecastRig rig(config);
    QSignalSpy changed(&rig.retriever, &ForecastRetriever::forecastChanged);

    QVERIFY(rig.fetch());
    QCOMPARE(rig.retriever.text(), forecast);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.first().first().toString(), forecast);
    QVERIFY(m_http.lines().contains("GET /forecast/zone.html"));
    QVERIFY(rig.status.statusText().startsWith("Corvane has processed the request"));
}

void TestForecast::failedOrEmptyResponseKeepsForecast_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("serverError");
    QTest::newRow("empty body") << QByteArray() << false;
    QTest::newRow("server error") << QByteArray("START broken END") << true;
}

void TestForecast::failedOrEmptyResponseKeepsForecast()
{
    QFETCH(QByteArray, body);
    QFETCH(bool, serverError);
    Configuration config;
    config.NwsRemoteHost = QStringLiteral("http://127.0.0.1:%1").arg(m_http.port());
    config.NwsDownloadPath = QStringLiteral("/fc");
    config.NwsStartKey = QStringLiteral("START");
    config.NwsEndKey = QStringLiteral("END");
    ForecastRig rig(config);
    setBody("xx START sunny END yy");
    QVERIFY(rig.fetch());
    QCOMPARE(rig.retriever.text(), QString("START sunny "));

    setBody(body);
    if (serverError)
        config.NwsRemoteHost = QStringLiteral("http://127.0.0.1:%1").arg(m_failing.port());
    QVERIFY(rig.fetch());
    QCOMPARE(rig.retriever.text(), QString("START sunny "));
    const bool errorShown = rig.status.statusText().startsWith("An error occurred");
    QCOMPARE(errorShown, serverError);
}

QTEST_GUILESS_MAIN(TestForecast)
#include "tst_forecast.moc"
