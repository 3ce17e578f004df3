// Weather Underground, PWSweather and CWOP reports against local stand-ins: the HTTP test
// server and an APRS-IS server made here.
#include "acquisition/readingsrecord.h"
#include "fakes/manualclock.h"
#include "publishing/curltransferchannel.h"
#include "publishing/localserver.h"
#include "sharing/sharingservices.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <QtTest>

namespace {

using Texts = QHash<QString, QString>;

constexpr int WaitMs = 10000;

// 22.5 °C, 53 %, dewpoint 12 °C, 1013.2 hPa, 2.1 m/s from 56°, gusts 3.8 m/s.
const Texts metricTexts{{"OutdoorTemperature", "22.5"},
                        {"OutdoorHumidity", "53"},
                        {"OutdoorDewpoint", "12"},
                        {"SeaLevelPressure", "1013"},
                        {"AverageSpeed", "2.1"},
                        {"AverageDirection", "56"},
                        {"GustSpeed", "3.8"}};
const Texts englishTexts{{"OutdoorTemperature", "72.5"},
                         {"OutdoorHumidity", "53"},
                         {"OutdoorDewpoint", "54"},
                         {"SeaLevelPressure", "29.92"},
                         {"AverageSpeed", "4.7"},
                         {"AverageDirection", "56"},
                         {"GustSpeed", "8.5"}};

struct Station
{
    explicit Station(const Texts &texts, int units)
        : services(
              clock, record, [units] { return units; },
              [] {
                  return std::make_unique<CurlTransferChannel>(CurlTransferChannel::Protocol::Http);
              })
    {
        for (auto it = texts.cbegin(); it != texts.cend(); ++it)
            record.setText(it.key(), it.value());
        // 2 mm in the last hour, which is all of today's rain.
        const QDateTime now = clock.now();
        services.rainHistory().add(QDateTime(now.date().addDays(-1), QTime(23, 0)), 40);
        services.rainHistory().add(now.addSecs(-2 * 3600), 40);
        services.rainHistory().add(now.addSecs(-60), 42);
    }

    ManualClock clock;
    ReadingsRecord record;
    SharingServices services;
};

// The parameters of the one request the server saw on `path`, by name.
QHash<QString, QString> requestOn(LocalServer &server, const QString &path)
{
    for (const QString &line : server.lines()) {
        const QString prefix = QStringLiteral("GET ") + path + QLatin1Char('?');
        if (!line.startsWith(prefix))
            continue;
        QHash<QString, QString> out;
        for (const auto &item : QUrlQuery(line.mid(prefix.size())).queryItems(QUrl::FullyDecoded))
            out.insert(item.first, item.second);
        return out;
    }
    return {};
}

} // namespace

class TstWeatherNetworks : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void bothNetworksGetEveryParameter_data();
    void bothNetworksGetEveryParameter();
    void refusedLoginIsAFailureWithoutThePassword_data();
    void refusedLoginIsAFailureWithoutThePassword();
    void cwopPacket_data();
    void cwopPacket();
    void cwopServerThatNeverAnswers();

private:
    QTemporaryDir m_dir;
};

void TstWeatherNetworks::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void TstWeatherNetworks::bothNetworksGetEveryParameter_data()
{
    QTest::addColumn<Texts>("texts");
    QTest::addColumn<int>("units");
    QTest::addColumn<QString>("baromin");
    QTest::newRow("metric display") << metricTexts << 1 << "29.91";
    QTest::newRow("english display") << englishTexts << 0 << "29.92";
}

void TstWeatherNetworks::bothNetworksGetEveryParameter()
{
    QFETCH(Texts, texts);
    QFETCH(int, units);
    QFETCH(QString, baromin);
    QFile body(m_dir.filePath("success"));
    QVERIFY(body.open(QIODevice::WriteOnly) && body.write("success\n") > 0);
    body.close();
    LocalServer server;
    QVERIFY(server.start("httpserver.py", {"--body", body.fileName()}));

    Station station(texts, units);
    SharingSettings settings;
    const QString base = QStringLiteral("http://127.0.0.1:%1").arg(server.port());
    settings.wunderground = {true, base + "/weatherstation/updateweatherstation.php", "KXX1",
                             "pw&1", 5};
    settings.pwsweather = {true, base + "/api/v1/submitwx", "PWS2", "pw 2", 10};
    station.services.apply(settings);
    QSignalSpy reported(&station.services, &SharingServices::reported);

    station.clock.advanceSeconds(5 * 60); // Weather Underground's turn only
    QTRY_COMPARE_WITH_TIMEOUT(reported.size(), 1, WaitMs);
    const QString dateutc =
        station.clock.now().toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    station.clock.advanceSeconds(5 * 60);
    QTRY_COMPARE_WITH_TIMEOUT(reported.size(), 3, WaitMs);
    for (const auto &r : reported)
        QVERIFY(r.at(1).toBool());

    const QHash<QString, QString> common{{"tempf", "72.5"},
                                         {"humidity", "53"},
                                         {"dewptf", "53.6"},
                                         {"baromin", baromin},
                                         {"windspeedmph", "4.7"},
                                         {"windgustmph", "8.5"},
                                         {"winddir", "56"},
                                         {"rainin", "0.08"},
                                         {"dailyrainin", "0.08"},
                                         {"action", "updateraw"},
                                         {"softwaretype", "corvane " + corvaneVersion()}};
    QHash<QString, QString> wu = common;
    wu.insert({{"ID", "KXX1"}, {"PASSWORD", "pw&1"}, {"dateutc", dateutc}});
    QCOMPARE(requestOn(server, "/weatherstation/updateweatherstation.php"), wu);
    QHash<QString, QString> pws = common;
    pws.insert({{"ID", "PWS2"}, {"PASSWORD", "pw 2"}});
    QHash<QString, QString> gotPws = requestOn(server, "/api/v1/submitwx");
    QVERIFY(gotPws.take("dateutc").startsWith(station.clock.now().toUTC().toString("yyyy-MM-dd")));
    QCOMPARE(gotPws, pws);
}

void TstWeatherNetworks::refusedLoginIsAFailureWithoutThePassword_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("reason");
    QTest::newRow("refusal in the text")
        << QByteArray("INVALIDPASSWORDID|Password or key and/or id are incorrect\n") << 200
        << "Weather Underground: the station ID or password was refused: "
           "INVALIDPASSWORDID|Password or key and/or id are incorrect";
    QTest::newRow("refusal as a status") << QByteArray("no") << 401 << "401";
}

void TstWeatherNetworks::refusedLoginIsAFailureWithoutThePassword()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, status);
    QFETCH(QString, reason);
    QFile body(m_dir.filePath("refusal"));
    QVERIFY(body.open(QIODevice::WriteOnly) && body.write(reply) > 0);
    body.close();
    LocalServer server;
    QVERIFY(server.start("httpserver.py",
                         {"--body", body.fileName(), "--status", QString::number(status)}));
    Station station(metricTexts, 1);
    SharingSettings settings;
    settings.wunderground = {true, QStringLiteral("http://127.0.0.1:%1/up").arg(server.port()),
                             "KXX1", "s3cr+t/", 1};
    station.services.apply(settings);
    QSignalSpy failures(&station.services, &SharingServices::failure);
    station.clock.advanceSeconds(60);
    QTRY_COMPARE_WITH_TIMEOUT(failures.size(), 1, WaitMs);
    const QString got = failures.first().at(0).toString();
    QVERIFY2(got.contains(reason), qPrintable(got));
    QVERIFY2(!got.contains("s3cr") && !got.contains("s3cr%2Bt"), qPrintable(got));
    // The next interval tries again.
    station.clock.advanceSeconds(60);
    QTRY_COMPARE_WITH_TIMEOUT(failures.size(), 2, WaitMs);
}

void TstWeatherNetworks::cwopPacket_data()
{
    QTest::addColumn<Texts>("texts");
    QTest::addColumn<int>("units");
    QTest::addColumn<QByteArray>("weather");
    QTest::newRow("metric display")
        << metricTexts << 1 << QByteArray("056/005g009t073r008p...P008h53b10130");
    QTest::newRow("english display")
        << englishTexts << 0 << QByteArray("056/005g009t073r008p...P008h53b10132");
}

void TstWeatherNetworks::cwopPacket()
{
    QFETCH(Texts, texts);
    QFETCH(int, units);
    QFETCH(QByteArray, weather);
    QTcpServer aprs;
    QVERIFY(aprs.listen(QHostAddress::LocalHost));
    QByteArray received;
    bool closedByClient = false;
    connect(&aprs, &QTcpServer::newConnection, this, [&] {
        QTcpSocket *client = aprs.nextPendingConnection();
        client->write("# aprsc 2.1.10 test\r\n");
        connect(client, &QTcpSocket::readyRead, client, [&, client] {
            const bool first = received.isEmpty();
            received += client->readAll();
            if (first)
                client->write("# logresp EW1234 unverified, server TEST\r\n");
        });
        connect(client, &QTcpSocket::disconnected, client, [&] { closedByClient = true; });
    });

    Station station(texts, units);
    SharingSettings settings;
    settings.cwop.enabled = true;
    settings.cwop.server = QStringLiteral("127.0.0.1");
    settings.cwop.port = aprs.serverPort();
    settings.cwop.callsign = QStringLiteral("EW1234");
    settings.cwop.latitude = 40.7128;
    settings.cwop.longitude = -74.006;
    settings.cwop.intervalMinutes = 1; // raised to CWOP's 5
    station.services.apply(settings);
    QSignalSpy reported(&station.services, &SharingServices::reported);
    station.clock.advanceSeconds(4 * 60);
    QVERIFY(!station.services.isReporting(SharingServices::Cwop));
    station.clock.advanceSeconds(60);
    QTRY_COMPARE_WITH_TIMEOUT(reported.size(), 1, WaitMs);
    QVERIFY(reported.first().at(1).toBool());
    QTRY_VERIFY_WITH_TIMEOUT(closedByClient, WaitMs);
    const QByteArray time = station.clock.now().toUTC().toString("ddHHmm").toLatin1();
    QCOMPARE(received, "user EW1234 pass -1 vers corvane " + corvaneVersion().toLatin1() +
                           "\r\nEW1234>APRS,TCPIP*:@" + time + "z4042.77N/07400.36W_" + weather +
                           "\r\n");
}

void TstWeatherNetworks::cwopServerThatNeverAnswers()
{
    QTcpServer aprs; // accepts, and says nothing
    QVERIFY(aprs.listen(QHostAddress::LocalHost));
    Station station(metricTexts, 1);
    SharingSettings settings;
    settings.cwop = {true, "127.0.0.1", aprs.serverPort(), "EW1234", "-1", 1.0, 2.0, 5};
    station.services.apply(settings);
    QSignalSpy failures(&station.services, &SharingServices::failure);
    station.clock.advanceSeconds(5 * 60);
    QTRY_VERIFY_WITH_TIMEOUT(aprs.hasPendingConnections(), WaitMs);
    station.clock.advanceSeconds(30);
    QCOMPARE(failures.size(), 1);
    QCOMPARE(failures.first().at(0).toString(),
             QStringLiteral("CWOP: 127.0.0.1:%1: no answer within 30 s").arg(aprs.serverPort()));
}

QTEST_GUILESS_MAIN(TstWeatherNetworks)
#include "tst_weathernetworks.moc"
