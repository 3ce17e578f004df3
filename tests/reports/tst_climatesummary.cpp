// Daily and monthly climate figures against months worked out by hand.
#include "referencemonth.h"
#include "reports/climatesummary.h"

#include <QtTest>
#include <ctime>

namespace {

void setTimeZone(const QByteArray &tz)
{
    qputenv("TZ", tz);
    tzset();
}

// `count` hourly records of `date` from local midnight; no readings.
QList<Observation> hourly(const QDate &date, int count)
{
    QList<Observation> records;
    QDateTime t(date, QTime(0, 0));
    for (int i = 0; i < count; ++i, t = t.addSecs(3600)) {
        Observation o;
        o.time = t;
        o.temperature = 10;
        records << o;
    }
    return records;
}

} // namespace

class TestClimateSummary : public QObject
{
    Q_OBJECT
private slots:
    void init() { setTimeZone("UTC"); }
    void cleanupTestCase() { qunsetenv("TZ"); }
    void referenceDays_data();
    void referenceDays();
    void referenceMonthTotals();
    void degreeDayBaseFollowsUnits_data();
    void degreeDayBaseFollowsUnits();
    void summerTimeDays_data();
    void summerTimeDays();
    void observedInterval();
};

void TestClimateSummary::referenceDays_data()
{
    QTest::addColumn<int>("day");
    QTest::addColumn<double>("mean");
    QTest::addColumn<QString>("high"); // "value at hh:mm"
    QTest::addColumn<QString>("low");
    QTest::addColumn<double>("hdd");
    QTest::addColumn<double>("cdd");
    QTest::addColumn<double>("rain");
    QTest::addColumn<double>("wind");
    QTest::addColumn<QString>("gust");
    QTest::addColumn<int>("direction");
    QTest::addColumn<bool>("incomplete");
    QTest::newRow("mixed day") << 1 << 40.0 << "50 at 12:00" << "30 at 00:00" << 25.0 << 0.0
                               << 0.25 << 3.0 << "15 at 12:00" << 135 << false;
    QTest::newRow("reset rain total, steady gusts")
        << 2 << 70.0 << "80 at 12:00" << "60 at 00:00" << 0.0 << 5.0 << 0.10 << 1.0
        << "4 at 00:00" << 270 << false;
    QTest::newRow("gap: two records of four") << 3 << 65.0 << "65 at 00:00" << "65 at 00:00"
                                              << 0.0 << 0.0 << 0.20 << 0.0 << "0 at 00:00"
                                              << 0 << true;
}

void TestClimateSummary::referenceDays()
{
    QFETCH(int, day);
    const MonthSummary m = summarizeMonth(2025, 2, referenceMonth(), SummaryUnits{}, 360,
                                          QDateTime(QDate(2025, 2, 4), QTime(0, 0)));
    QCOMPARE(m.days.size(), 3); // the days still to come are left out
    const DaySummary &d = m.days.at(day - 1);
    const auto timed = [](const TimedValue &v) {
        return QStringLiteral("%1 at %2").arg(v.value).arg(v.time.toString("HH:mm"));
    };
    QCOMPARE(d.date, QDate(2025, 2, day));
    QTEST(d.meanTemperature, "mean");
    QTEST(timed(d.high), "high");
    QTEST(timed(d.low), "low");
    QTEST(d.heatingDegreeDays, "hdd");
    QTEST(d.coolingDegreeDays, "cdd");
    QTEST(d.rain, "rain");
    QTEST(d.meanWind, "wind");
    QTEST(timed(d.gust), "gust");
    QFETCH(int, direction);
    // A calm day's direction is that of the vanes alone.
    QCOMPARE(d.dominantDirection.value_or(-1), direction);
    QTEST(d.incomplete(), "incomplete");
}

void TestClimateSummary::referenceMonthTotals()
{
    const MonthSummary m = summarizeMonth(2025, 2, referenceMonth(), SummaryUnits{}, 360,
                                          QDateTime(QDate(2025, 2, 4), QTime(0, 0)));
    QCOMPARE(QString::number(m.meanTemperature, 'f', 1), QString("58.3"));
    QCOMPARE(m.high.value, 80.0);
    QCOMPARE(m.high.time.date().day(), 2);
    QCOMPARE(m.low.value, 30.0);
    QCOMPARE(m.low.time.date().day(), 1);
    QCOMPARE(m.heatingDegreeDays, 25.0);
    QCOMPARE(m.coolingDegreeDays, 5.0);
    QCOMPARE(m.rain, 0.55);
    QCOMPARE(m.wettestDay.value, 0.25);
    QCOMPARE(m.gust.value, 15.0);
    QCOMPARE(m.incompleteDays, 1);
}

void TestClimateSummary::degreeDayBaseFollowsUnits_data()
{
    QTest::addColumn<bool>("metric");
    QTest::addColumn<double>("mean");
    QTest::addColumn<double>("hdd");
    QTest::addColumn<double>("cdd");
    QTest::newRow("English, cold") << false << 50.0 << 15.0 << 0.0;
    QTest::newRow("English, warm") << false << 75.0 << 0.0 << 10.0;
    QTest::newRow("metric, cold") << true << 10.0 << 8.3 << 0.0;
    QTest::newRow("metric, warm") << true << 20.3 << 0.0 << 2.0;
}

void TestClimateSummary::degreeDayBaseFollowsUnits()
{
    QFETCH(bool, metric);
    QFETCH(double, mean);
    QList<Observation> records = hourly(QDate(2025, 7, 1), 24);
    for (Observation &o : records)
        o.temperature = mean;
    const MonthSummary m = summarizeMonth(2025, 7, records, SummaryUnits{metric}, 60,
                                          QDateTime(QDate(2025, 7, 2), QTime(0, 0)));
    QCOMPARE(m.days.size(), 1);
    QFETCH(double, hdd);
    QFETCH(double, cdd);
    QVERIFY(std::abs(m.days.at(0).heatingDegreeDays - hdd) < 1e-9);
    QVERIFY(std::abs(m.days.at(0).coolingDegreeDays - cdd) < 1e-9);
}

// Days end at local midnight: 23 or 25 hours across a change of summer time, and the
// expected records follow.
void TestClimateSummary::summerTimeDays_data()
{
    QTest::addColumn<QByteArray>("tz");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("expected");
    QTest::addColumn<bool>("incomplete");
    QTest::newRow("Berlin spring, all 23") << QByteArray("Europe/Berlin") << QDate(2026, 3, 29) << 23 << 23 << false;
    QTest::newRow("Berlin spring, 19 of 23") << QByteArray("Europe/Berlin") << QDate(2026, 3, 29) << 19 << 23 << false;
    QTest::newRow("Berlin spring, 18 of 23") << QByteArray("Europe/Berlin") << QDate(2026, 3, 29) << 18 << 23 << true;
    QTest::newRow("New York autumn, all 25") << QByteArray("America/New_York") << QDate(2026, 11, 1) << 25 << 25 << false;
    QTest::newRow("New York autumn, 20 of 25") << QByteArray("America/New_York") << QDate(2026, 11, 1) << 20 << 25 << false;
    QTest::newRow("New York autumn, 19 of 25") << QByteArray("America/New_York") << QDate(2026, 11, 1) << 19 << 25 << true;
    QTest::newRow("ordinary day, 19 of 24") << QByteArray("Europe/Berlin") << QDate(2026, 3, 28) << 19 << 24 << true;
}

void TestClimateSummary::summerTimeDays()
{
    QFETCH(QByteArray, tz);
    QFETCH(QDate, date);
    QFETCH(int, records);
    setTimeZone(tz);
    // The hours of the day, and the first of the next, which belongs to the next day.
    QList<Observation> hours = hourly(date, records + 1);
    const QDateTime nextMidnight(date.addDays(1), QTime(0, 0));
    if (hours.last().time != nextMidnight)
        hours.last().time = nextMidnight; // fewer records than hours: the next day's first
    const MonthSummary m = summarizeMonth(date.year(), date.month(), hours, SummaryUnits{}, 60,
                                          nextMidnight.addDays(1));
    const DaySummary *day = nullptr;
    for (const DaySummary &d : m.days)
        day = d.date == date ? &d : day;
    QVERIFY(day);
    QCOMPARE(day->records, records);
    QTEST(day->expectedRecords, "expected");
    QTEST(day->incomplete(), "incomplete");
    QCOMPARE(m.days.last().date, date.addDays(1));
    QCOMPARE(m.days.last().records, 1);
}

void TestClimateSummary::observedInterval()
{
    QList<Observation> records = hourly(QDate(2025, 1, 1), 5);
    records.removeAt(2); // a gap does not change the step
    QCOMPARE(::observedInterval(records), 60);
    QCOMPARE(::observedInterval(records.mid(0, 1)), 0);
}

QTEST_GUILESS_MAIN(TestClimateSummary)
#include "tst_climatesummary.moc"
