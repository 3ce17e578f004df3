// The readings in fixed units and the formats the networks receive, for both display units.
#include "sharing/aprspacket.h"
#include "sharing/mqttmessages.h"
#include "sharing/networkupload.h"
#include "sharing/weatherreadings.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QUrlQuery>
#include <QtTest>

namespace {

using Texts = QList<std::pair<QString, QString>>;

// One weather, as the console sends it (22.5 °C, 12 °C dewpoint, 1013.2 hPa, 2.1 m/s from
// 56°, gusts 3.8 m/s, 298 mm total), in the texts each display unit writes.
const Texts metricTexts{
    {"OutdoorTemperature", "22.5"}, {"OutdoorHumidity", "53"}, {"OutdoorDewpoint", "12"},
    {"SeaLevelPressure", "1013"},   {"AverageSpeed", "2.1"},   {"AverageDirection", "56"},
    {"GustSpeed", "3.8"},           {"RainTotal", "298"},      {"HeatIndex", "N/A"}};
const Texts englishTexts{
    {"OutdoorTemperature", "72.5"}, {"OutdoorHumidity", "53"}, {"OutdoorDewpoint", "54"},
    {"SeaLevelPressure", "29.92"},  {"AverageSpeed", "4.7"},   {"AverageDirection", "56"},
    {"GustSpeed", "8.5"},           {"RainTotal", "11.73"},    {"HeatIndex", "N/A"}};

WeatherReadings readingsOf(const Texts &texts, int units)
{
    ReadingsRecord record;
    for (const auto &t : texts)
        record.setText(t.first, t.second);
    return readingsFromRecord(record, units);
}

CwopSettings cwop()
{
    CwopSettings c;
    c.callsign = QStringLiteral("EW1234");
    c.latitude = 40.7128;
    c.longitude = -74.006;
    return c;
}

const QDateTime reportTime(QDate(2026, 3, 7), QTime(9, 5, 30), Qt::UTC);

} // namespace

Q_DECLARE_METATYPE(RainAmounts)

class TstSharingFormats : public QObject
{
    Q_OBJECT
private slots:
    void fixedUnitsWhateverTheDisplay_data();
    void fixedUnitsWhateverTheDisplay();
    void groupJsonLeavesOutWhatWasNotSent();
    void discoveryNamesClassUnitAndState();
    void wundergroundQuery_data();
    void wundergroundQuery();
    void aprsPacket_data();
    void aprsPacket();
    void aprsPosition_data();
    void aprsPosition();
    void rainOverSpans();
};

void TstSharingFormats::fixedUnitsWhateverTheDisplay_data()
{
    QTest::addColumn<Texts>("texts");
    QTest::addColumn<int>("units");
    QTest::addColumn<double>("pressure");
    QTest::newRow("metric") << metricTexts << 1 << 1013.0;
    QTest::newRow("english") << englishTexts << 0 << 1013.2;
}

void TstSharingFormats::fixedUnitsWhateverTheDisplay()
{
    QFETCH(Texts, texts);
    QFETCH(int, units);
    QFETCH(double, pressure);
    const WeatherReadings r = readingsOf(texts, units);
    using F = SharedField;
    QCOMPARE(r[F::OutdoorTemperature], 22.5);
    QCOMPARE(r[F::OutdoorHumidity], 53.0);
    QCOMPARE(r[F::OutdoorDewpoint], 12.0);
    QCOMPARE(r[F::SeaLevelPressure], pressure);
    QCOMPARE(r[F::AverageSpeed], 2.1);
    QCOMPARE(r[F::GustSpeed], 3.8);
    QCOMPARE(r[F::RainTotal], 298.0);
    QVERIFY(!r[F::HeatIndex]);      // "N/A"
    QVERIFY(!r[F::IndoorHumidity]); // never sent
    QVERIFY(!r[F::GustDirection]);
}

void TstSharingFormats::groupJsonLeavesOutWhatWasNotSent()
{
    const auto messages = groupMessages(QStringLiteral("Back yard"), SensorGroup::Temperature,
                                        readingsOf(metricTexts, 1));
    QCOMPARE(messages.size(), 2); // the group and its one field with a value
    QCOMPARE(messages[0].topic, QStringLiteral("corvane/Back_yard/temperature"));
    QCOMPARE(QJsonDocument::fromJson(messages[0].payload).object(),
             QJsonObject({{"outdoor_temperature", 22.5}}));
    QCOMPARE(messages[1],
             (MqttMessage{"corvane/Back_yard/temperature/outdoor_temperature", "22.5", true}));
    QVERIFY(groupMessages(QStringLiteral("x"), SensorGroup::Humidity, WeatherReadings{}).isEmpty());
}

void TstSharingFormats::discoveryNamesClassUnitAndState()
{
    const auto messages =
        discoveryMessages(QStringLiteral("yard"), QStringLiteral("homeassistant"));
    QCOMPARE(messages.size(), SharedFieldCount);
    QHash<QString, QJsonObject> byTopic;
    for (const MqttMessage &m : messages) {
        QVERIFY(m.retain);
        byTopic.insert(m.topic, QJsonDocument::fromJson(m.payload).object());
    }
    const QJsonObject rain = byTopic.value("homeassistant/sensor/yard/rain_total/config");
    QCOMPARE(rain.value("device_class").toString(), QStringLiteral("precipitation"));
    QCOMPARE(rain.value("unit_of_measurement").toString(), QStringLiteral("mm"));
    QCOMPARE(rain.value("state_class").toString(), QStringLiteral("total_increasing"));
    QCOMPARE(rain.value("state_topic").toString(), QStringLiteral("corvane/yard/rain/rain_total"));
    QCOMPARE(rain.value("availability_topic").toString(), QStringLiteral("corvane/yard/status"));
    const QJsonObject pressure =
        byTopic.value("homeassistant/sensor/yard/sea_level_pressure/config");
    QCOMPARE(pressure.value("device_class").toString(), QStringLiteral("atmospheric_pressure"));
    QCOMPARE(pressure.value("unit_of_measurement").toString(), QStringLiteral("hPa"));
    QCOMPARE(pressure.value("state_class").toString(), QStringLiteral("measurement"));
    // Unique ids are unique.
    QSet<QString> ids;
    for (const QJsonObject &o : byTopic)
        ids.insert(o.value("unique_id").toString());
    QCOMPARE(ids.size(), SharedFieldCount);
}

void TstSharingFormats::wundergroundQuery_data()
{
    QTest::addColumn<Texts>("texts");
    QTest::addColumn<int>("units");
    QTest::addColumn<RainAmounts>("rain");
    QTest::addColumn<QStringList>("expected"); // every parameter, in order
    RainAmounts rain{2.0, 12.0, 10.0};
    const QStringList head{"ID=KXX123", "PASSWORD=p+s&w", "dateutc=2026-03-07 09:05:30"};
    const QStringList tail{"softwaretype=corvane 9.9", "action=updateraw"};
    const auto full = [&](const QString &baromin) {
        return head + QStringList{"tempf=72.5",         "humidity=53",      "dewptf=53.6",
                                  "baromin=" + baromin, "windspeedmph=4.7", "windgustmph=8.5",
                                  "winddir=56",         "rainin=0.08",      "dailyrainin=0.39"} +
               tail;
    };
    QTest::newRow("metric") << metricTexts << 1 << rain << full("29.91");
    QTest::newRow("english") << englishTexts << 0 << rain << full("29.92");
    QTest::newRow("only a temperature, no rain history")
        << Texts{{"OutdoorTemperature", "-3.0"}} << 1 << RainAmounts{}
        << head + QStringList{"tempf=26.6"} + tail;
}

void TstSharingFormats::wundergroundQuery()
{
    QFETCH(Texts, texts);
    QFETCH(int, units);
    QFETCH(RainAmounts, rain);
    QFETCH(QStringList, expected);
    WeatherNetworkSettings settings;
    settings.stationId = QStringLiteral("KXX123");
    settings.password = QStringLiteral("p+s&w");
    const QString query = weatherNetworkQuery(settings, readingsOf(texts, units), rain, reportTime,
                                              QStringLiteral("corvane 9.9"));
    QVERIFY2(!query.contains(QLatin1Char('+')) && !query.contains(QLatin1Char(' ')),
             qPrintable(query));
    QStringList got;
    for (const auto &item : QUrlQuery(query).queryItems(QUrl::FullyDecoded))
        got << item.first + QLatin1Char('=') + item.second;
    QCOMPARE(got, expected);
}

void TstSharingFormats::aprsPacket_data()
{
    QTest::addColumn<Texts>("texts");
    QTest::addColumn<int>("units");
    QTest::addColumn<RainAmounts>("rain");
    QTest::addColumn<QByteArray>("packet");
    const QByteArray head = "EW1234>APRS,TCPIP*:@070905z4042.77N/07400.36W_";
    const RainAmounts rain{2.0, 12.0, 10.0};
    QTest::newRow("metric") << metricTexts << 1 << rain
                            << head + "056/005g009t073r008p047P039h53b10130\r\n";
    QTest::newRow("english") << englishTexts << 0 << rain
                             << head + "056/005g009t073r008p047P039h53b10132\r\n";
    QTest::newRow("nothing but a frosty temperature")
        << Texts{{"OutdoorTemperature", "-5.4"}} << 0 << RainAmounts{}
        << head + ".../...g...t-05r...p...P...h..b.....\r\n";
    QTest::newRow("saturated air is h00") << Texts{{"OutdoorHumidity", "100"}} << 1 << RainAmounts{}
                                          << head + ".../...g...t...r...p...P...h00b.....\r\n";
}

void TstSharingFormats::aprsPacket()
{
    QFETCH(Texts, texts);
    QFETCH(int, units);
    QFETCH(RainAmounts, rain);
    QFETCH(QByteArray, packet);
    QCOMPARE(aprsWeatherPacket(cwop(), readingsOf(texts, units), rain, reportTime), packet);
    QCOMPARE(aprsLoginLine(cwop(), QStringLiteral("1.2")),
             QByteArray("user EW1234 pass -1 vers corvane 1.2\r\n"));
}

void TstSharingFormats::aprsPosition_data()
{
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<QByteArray>("position");
    QTest::newRow("north west") << 40.7128 << -74.006 << QByteArray("4042.77N/07400.36W");
    QTest::newRow("south east") << -33.8688 << 151.2093 << QByteArray("3352.13S/15112.56E");
    // 59.9994' rounds up into the next whole degree, never to "60.00".
    QTest::newRow("minute carry") << 9.99999 << 0.0 << QByteArray("1000.00N/00000.00E");
}

void TstSharingFormats::aprsPosition()
{
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    QFETCH(QByteArray, position);
    QCOMPARE(::aprsPosition(latitude, longitude), position);
}

void TstSharingFormats::rainOverSpans()
{
    const QDateTime t0(QDate(2026, 3, 7), QTime(23, 0));
    RainHistory h;
    h.add(t0, 10);
    h.add(t0.addSecs(30 * 60), 12);
    h.add(t0.addSecs(40 * 60), 0); // the console's counter was reset
    h.add(t0.addSecs(50 * 60), 1);
    h.add(t0.addSecs(50 * 60 + 10), 1); // a repeat within the minute is no new sample
    h.add(t0.addSecs(65 * 60), 3);
    const QDateTime now = t0.addSecs(70 * 60);
    const RainAmounts r = rainAmounts(h, now);
    QCOMPARE(r.lastHour, 5.0);      // 2 before the reset, 3 after: never negative
    QCOMPARE(r.sinceMidnight, 2.0); // from the 23:50 sample
    QVERIFY(!r.last24Hours);        // the samples do not reach back a day
}

QTEST_GUILESS_MAIN(TstSharingFormats)
#include "tst_sharingformats.moc"
