// The MQTT service against a real mosquitto broker that the test starts and kills.
#include "acquisition/readingsrecord.h"
#include "fakes/manualclock.h"
#include "localbroker.h"
#include "sharing/mqttservice.h"
#include "sharing/weatherreadings.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int WaitMs = 10000;

MqttSettings settingsFor(quint16 port)
{
    MqttSettings s;
    s.enabled = true;
    s.host = QStringLiteral("127.0.0.1");
    s.port = port;
    s.station = QStringLiteral("yard");
    s.intervalSeconds = 10;
    return s;
}

void setTemperature(ReadingsRecord &record, const QString &celsius)
{
    record.applyGroup(SensorGroup::Temperature, {{"OutdoorTemperature", celsius}});
}

} // namespace

class TstMqtt : public QObject
{
    Q_OBJECT
private slots:
    void publishesReadingsAndDiscovery();
    void brokerRestartLosesNoLaterMessage();
    void wrongPasswordGivesTheBrokersReason();
    void tlsTrustsOnlyTheGivenCa_data();
    void tlsTrustsOnlyTheGivenCa();

private:
    QTemporaryDir m_tls; // a test CA, a server certificate it signed, a stranger CA
};

void TstMqtt::publishesReadingsAndDiscovery()
{
    LocalBroker broker;
    QVERIFY(broker.start());
    Subscriber sub(broker.port());
    ManualClock clock;
    ReadingsRecord record;
    record.applyGroup(SensorGroup::Humidity, {{"OutdoorHumidity", "53"}});
    // English display: 72.5 °F is published as 22.5 °C.
    MqttService service(clock, record, [] { return 0; });
    QTest::qWait(200); // the subscriber is in before anything is published
    service.apply(settingsFor(broker.port()));
    setTemperature(record, QStringLiteral("72.5"));

    QTRY_COMPARE_WITH_TIMEOUT(sub.last("corvane/yard/status"), QByteArray("online"), WaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(!sub.last("corvane/yard/temperature").isNull(), WaitMs);
    QCOMPARE(QJsonDocument::fromJson(sub.last("corvane/yard/temperature")).object(),
             QJsonObject({{"outdoor_temperature", 22.5}}));
    QCOMPARE(sub.last("corvane/yard/humidity/outdoor_humidity"), QByteArray("53"));
    // Groups never sent are not published as zeros.
    QVERIFY(sub.last("corvane/yard/wind").isNull());
    QVERIFY(sub.last("corvane/yard/rain/rain_total").isNull());

    int discovery = 0;
    for (const auto &m : sub.messages()) {
        if (!m.first.startsWith("homeassistant/sensor/yard/"))
            continue;
        ++discovery;
        QJsonParseError error;
        const QJsonObject config = QJsonDocument::fromJson(m.second, &error).object();
        QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(m.first));
        QVERIFY(config.contains("unit_of_measurement") && config.contains("state_class"));
        QVERIFY(config.value("state_topic").toString().startsWith("corvane/yard/"));
    }
    QCOMPARE(discovery, SharedFieldCount);

    // A change goes out on the next interval; a clean stop says "offline".
    setTemperature(record, QStringLiteral("50.0"));
    clock.advanceSeconds(10);
    QTRY_COMPARE_WITH_TIMEOUT(sub.last("corvane/yard/temperature/outdoor_temperature"),
                              QByteArray("10"), WaitMs);
    service.apply(MqttSettings{});
    QTRY_COMPARE_WITH_TIMEOUT(sub.last("corvane/yard/status"), QByteArray("offline"), WaitMs);
}

void TstMqtt::brokerRestartLosesNoLaterMessage()
{
    LocalBroker broker;
    QVERIFY(broker.start());
    ManualClock clock;
    ReadingsRecord record;
    MqttService service(clock, record, [] { return 1; });
    QSignalSpy failures(&service, &MqttService::failure);
    service.apply(settingsFor(broker.port()));
    setTemperature(record, QStringLiteral("20.1"));
    QTRY_VERIFY_WITH_TIMEOUT(service.isConnected(), WaitMs);

    broker.kill();
    QTRY_VERIFY_WITH_TIMEOUT(!failures.isEmpty(), WaitMs);
    QVERIFY2(failures.last().at(0).toString().startsWith(
                 QStringLiteral("MQTT broker 127.0.0.1:%1: ").arg(broker.port())),
             qPrintable(failures.last().at(0).toString()));
    // A reading that comes while the broker is away, and one after it is back.
    setTemperature(record, QStringLiteral("20.2"));
    clock.advanceSeconds(10);
    QVERIFY(broker.start());
    Subscriber sub(broker.port());
    QTRY_VERIFY_WITH_TIMEOUT(service.isConnected(), WaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(sub.last("corvane/yard/temperature/outdoor_temperature"),
                              QByteArray("20.2"), WaitMs);
    QCOMPARE(sub.last("corvane/yard/status"), QByteArray("online"));
    setTemperature(record, QStringLiteral("20.3"));
    clock.advanceSeconds(10);
    QTRY_COMPARE_WITH_TIMEOUT(sub.last("corvane/yard/temperature/outdoor_temperature"),
                              QByteArray("20.3"), WaitMs);
}

void TstMqtt::wrongPasswordGivesTheBrokersReason()
{
    LocalBroker broker;
    QVERIFY(broker.start(QStringLiteral("corvane"), QStringLiteral("right")));
    ManualClock clock;
    ReadingsRecord record;
    MqttService service(clock, record, [] { return 1; });
    QSignalSpy failures(&service, &MqttService::failure);
    MqttSettings settings = settingsFor(broker.port());
    settings.userName = QStringLiteral("corvane");
    settings.password = QStringLiteral("wrong");
    service.apply(settings);
    QTRY_VERIFY_WITH_TIMEOUT(!failures.isEmpty(), WaitMs);
    QCOMPARE(failures.first().at(0).toString(),
             QStringLiteral("MQTT broker 127.0.0.1:%1: Connection Refused: not authorised.")
                 .arg(broker.port()));
    // Retried with back-off, but said once.
    QTest::qWait(1500);
    QCOMPARE(failures.size(), 1);
    QVERIFY(!service.isConnected());

    settings.password = QStringLiteral("right");
    service.apply(settings);
    QTRY_VERIFY_WITH_TIMEOUT(service.isConnected(), WaitMs);
}

void TstMqtt::tlsTrustsOnlyTheGivenCa_data()
{
    QTest::addColumn<QString>("caFile");
    QTest::addColumn<bool>("connects");
    QTest::newRow("the broker's CA") << "ca.pem" << true;
    QTest::newRow("a stranger CA") << "other-ca.pem" << false;
}

void TstMqtt::tlsTrustsOnlyTheGivenCa()
{
    QFETCH(QString, caFile);
    QFETCH(bool, connects);
    if (!QFileInfo::exists(m_tls.filePath("server.pem"))) {
        // The FTPS tests' certificate maker.
        const QString code = QStringLiteral("import sys; sys.path.insert(0, '%1'); import "
                                            "ftpserver; ftpserver.make_tls_files('%2')")
                                 .arg(CORVANE_TEST_SCRIPTS, m_tls.path());
        QCOMPARE(QProcess::execute("/usr/bin/python3", {"-c", code}), 0);
    }
    const QByteArray server = m_tls.filePath("server.pem").toUtf8();
    LocalBroker broker;
    QVERIFY(broker.start({}, {}, "certfile " + server + "\nkeyfile " + server + "\n"));
    ManualClock clock;
    ReadingsRecord record;
    MqttService service(clock, record, [] { return 1; });
    QSignalSpy failures(&service, &MqttService::failure);
    MqttSettings settings = settingsFor(broker.port());
    settings.tls = true;
    settings.caFile = m_tls.filePath(caFile);
    service.apply(settings);
    if (connects) {
        QTRY_VERIFY_WITH_TIMEOUT(service.isConnected(), WaitMs);
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(!failures.isEmpty(), WaitMs);
        QVERIFY(!service.isConnected());
        QVERIFY2(failures.first().at(0).toString().endsWith("certificate verify failed"),
                 qPrintable(failures.first().at(0).toString()));
    }
}

QTEST_GUILESS_MAIN(TstMqtt)
#include "tst_mqtt.moc"
