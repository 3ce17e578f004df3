// Headless summaries must show each group's readings in the current units, at most once a minute
// per group.
#include "app/groupsummary.h"

#include <QtTest>

Q_DECLARE_METATYPE(SensorGroup)

class TstGroupSummary : public QObject
{
    Q_OBJECT
private slots:
    void summary_data();
    void summary();
    void throttle();
};

void TstGroupSummary::summary_data()
{
    QTest::addColumn<SensorGroup>("group");
    QTest::addColumn<int>("units");
    QTest::addColumn<QString>("expected");

    QTest::newRow("wind, English")
        << SensorGroup::Wind << 0
        << "wind: gust 5.4 MPH NorthEast, average 3.2 MPH North, chill 70 F";
    QTest::newRow("wind, Metric")
        << SensorGroup::Wind << 1
        << "wind: gust 5.4 M/S NorthEast, average 3.2 M/S North, chill 70 C";
    QTest::newRow("barometer, Metric")
        << SensorGroup::BarometerDewpoint << 1
        << "barometer: 1013 MBar Rising, dewpoint outdoor 50.1 C, indoor - C";
    QTest::newRow("humidity, nothing received yet")
        << SensorGroup::Humidity << 0 << "humidity: outdoor - %, indoor - %";
}

void TstGroupSummary::summary()
{
    QFETCH(SensorGroup, group);
    QFETCH(int, units);
    QFETCH(QString, expected);
    ReadingsRecord r;
    const QList<QPair<const char *, const char *>> texts = {
        {"GustSpeed", "5.4"},          {"GustDirectionWord", "NorthEast"},
        {"AverageSpeed", "3.2"},       {"AverageDirectionWord", "North"},
        {"WindChill", "70"},           {"OutdoorTemperature", "72.0"},
        {"IndoorTemperature", "68.5"}, {"SeaLevelPressure", "1013"},
        {"PressureTrend", "Rising"},   {"OutdoorDewpoint", "50.1"},
        {"RainRate", "0.00"},          {"RainTotal", "1.23"},
    };
    for (const auto &[field, text] : texts)
        r.setText(QLatin1String(field), QLatin1String(text));
    QCOMPARE(groupSummary(group, r, units), expected);
}

void TstGroupSummary::throttle()
{
    SummaryThrottle t(60000);
    QVERIFY(t.allow(SensorGroup::Wind, 1000));
    QVERIFY(t.allow(SensorGroup::Rain, 1500)); // each group has its own minute
    QVERIFY(!t.allow(SensorGroup::Wind, 3000));
    QVERIFY(!t.allow(SensorGroup::Wind, 60999));
    QVERIFY(t.allow(SensorGroup::Wind, 61000));
    QVERIFY(!t.allow(SensorGroup::Rain, 60000));
    QVERIFY(t.allow(SensorGroup::Rain, 61500));
    // A refused line does not move the period on.
    QVERIFY(!t.allow(SensorGroup::Wind, 120999));
    QVERIFY(t.allow(SensorGroup::Wind, 121000));
}

QTEST_GUILESS_MAIN(TstGroupSummary)
#include "tst_groupsummary.moc"
