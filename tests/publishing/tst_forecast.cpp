// Forecast cuts, alone and on pages served by a local HTTP server.
#include "config/configuration.h"
#include "core/manualclock.h"
#include "core/statusboard.h"
#include "localserver.h"
#include "publishing/curltransferchannel.h"
#include "publishing/forecast.h"
#include "publishing/transferstatus.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void cutRows()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("startKey");
    QTest::addColumn<QString>("endKey");
    QTest::addColumn<QString>("forecast");
    QTest::newRow("both keys") << "abSTARTcdeENDfg"
                               << "START"
                               << "END"
                               << "STARTcde";
    QTest::newRow("start key missing") << "abcdeENDfg"
                                       << "START"
                                       << "END"
                                       << "abcde";
    QTest::newRow("end key missing") << "abSTARTcdefg"
                                     << "START"
                                     << "END"
                                     << "STARTcdefg";
    QTest::newRow("neither key") << "abcdefg"
                                 << "START"
                                 << "END"
                                 << "abcdefg";
    QTest::newRow("empty start key") << "abSTARTcdeENDfg"
                                     << ""
                                     << "END"
                                     << "abSTARTcde";
    QTest::newRow("empty end key") << "abSTARTcdeENDfg"
                                   << "START"
                                   << ""
                                   << "";
    QTest::newRow("end key before start key only") << "abENDcdSTARTef"
                                                   << "START"
                                                   << "END"
                                                   << "STARTef";
    QTest::newRow("first occurrences") << "xSTART1END2START3END"
                                       << "START"
                                       << "END"
                                       << "START1";
    QTest::newRow("keys are case-sensitive") << "abstartcdeendfg"
                                             << "START"
                                             << "END"
                                             << "abstartcdeendfg";
    QTest::newRow("markup kept") << "<p>Today: <b>sun</b></p><hr>"
                                 << "Today"
                                 << "<hr>"
                                 << "Today: <b>sun</b></p>";
}

} // namespace

class TestForecast : public QObject
{
    Q_OBJECT
private slots:
    void cuts_data() { cutRows(); }
    void cuts();
    void servedPages_data();
    void servedPages();
    void failedOrEmptyResponseKeepsForecast_data();
    void failedOrEmptyResponseKeepsForecast();
};

void TestForecast::cuts()
{
    QFETCH(QString, body);
    QFETCH(QString, startKey);
    QFETCH(QString, endKey);
    QFETCH(QString, forecast);
    QCOMPARE(cutForecast(body, startKey, endKey), forecast);
}

void TestForecast::servedPages_data()
{
    cutRows();
    // Longer than one piece, with the keys across piece borders.
    QTest::newRow("keys across pieces") << QString(1020, 'a') + "START" + QString(1500, 'b') + "END"
                                        << "START"
                                        << "END"
                                        << "START" + QString(1500, 'b');
}

void TestForecast::servedPages()
{
    QFETCH(QString, body);
    QFETCH(QString, startKey);
    QFETCH(QString, endKey);
    QFETCH(QString, forecast);
    QTemporaryDir dir;
    const QString bodyFile = dir.filePath("page.html");
    {
        QFile f(bodyFile);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(body.toLatin1());
    }
    LocalServer http;
    QVERIFY(http.start("httpserver.py", {"--body", bodyFile}));

    Configuration config;
    config.NwsRemoteHost = QStringLiteral("127.0.0.1:%1").arg(http.port());
    config.NwsDownloadPath = QStringLiteral("/forecast/zone.html");
    config.NwsStartKey = startKey;
    config.NwsEndKey = endKey;
    ManualClock clock;
    StatusBoard status;
    CurlTransferChannel inet2(CurlTransferChannel::Protocol::Http);
    TransferStatusHandler handler(inet2, TransferRole::Forecast, clock, status);
    ForecastRetriever retriever(inet2, config);
    connect(&handler, &TransferStatusHandler::requestCompleted, &retriever,
            &ForecastRetriever::ExtractForecast);
    QSignalSpy changed(&retriever, &ForecastRetriever::forecastChanged);

    retriever.RequestForecast();
    QTRY_VERIFY_WITH_TIMEOUT(!changed.isEmpty(), 20000);
    QCOMPARE(retriever.text(), forecast);
    QCOMPARE(changed.first().first().toString(), forecast);
    QVERIFY(http.lines().contains("GET /forecast/zone.html"));
    QVERIFY(status.statusText().startsWith("Corvane has processed the request"));
}

void TestForecast::failedOrEmptyResponseKeepsForecast_data()
{
    QTest::addColumn<QByteArray>("secondBody");
    QTest::addColumn<QString>("secondStatus");
    QTest::newRow("empty body") << QByteArray() << "200";
    QTest::newRow("server error") << QByteArray("START broken END") << "500";
}

void TestForecast::failedOrEmptyResponseKeepsForecast()
{
    QFETCH(QByteArray, secondBody);
    QFETCH(QString, secondStatus);
    QTemporaryDir dir;
    const auto writeBody = [&](const QByteArray &bytes) {
        QFile f(dir.filePath("page.html"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    Configuration config;
    config.NwsDownloadPath = QStringLiteral("/fc");
    config.NwsStartKey = QStringLiteral("START");
    config.NwsEndKey = QStringLiteral("END");
    ManualClock clock;
    StatusBoard status;
    CurlTransferChannel inet2(CurlTransferChannel::Protocol::Http);
    TransferStatusHandler handler(inet2, TransferRole::Forecast, clock, status);
    ForecastRetriever retriever(inet2, config);
    connect(&handler, &TransferStatusHandler::requestCompleted, &retriever,
            &ForecastRetriever::ExtractForecast);
    QSignalSpy states(&inet2, &TransferChannel::stateChanged);
    const auto requestAndWait = [&] {
        states.clear();
        retriever.RequestForecast();
        QTRY_VERIFY_WITH_TIMEOUT(!inet2.isBusy() && !states.isEmpty(), 20000);
    };

    writeBody("xx START sunny END yy");
    LocalServer first;
    QVERIFY(first.start("httpserver.py", {"--body", dir.filePath("page.html")}));
    config.NwsRemoteHost = QStringLiteral("http://127.0.0.1:%1").arg(first.port());
    requestAndWait();
    QCOMPARE(retriever.text(), QString("START sunny "));

    writeBody(secondBody);
    LocalServer second;
    QVERIFY(second.start("httpserver.py",
                         {"--body", dir.filePath("page.html"), "--status", secondStatus}));
    config.NwsRemoteHost = QStringLiteral("http://127.0.0.1:%1").arg(second.port());
    requestAndWait();
    QCOMPARE(retriever.text(), QString("START sunny "));
}

QTEST_GUILESS_MAIN(TestForecast)
#include "tst_forecast.moc"
