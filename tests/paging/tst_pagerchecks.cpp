// Which pager rows get a page when, and the alarm texts they get.
#include "acquisition/readingsrecord.h"
#include "config/configuration.h"
#include "fakes/fakejob.h"
#include "fakes/manualclock.h"
#include "paging/pagerchecks.h"
#include "paging/pagerflags.h"
#include "scheduler/scheduler.h"

#include <QtTest>

namespace {

struct SentPage
{
    QString pager;
    QString message;
    QString company;
    QDateTime at;
};

PagerRow row(int pageType, int alarmType = 0, const QVariant &setting = {}, int enabled = 1,
             const QString &pager = QStringLiteral("1234567"))
{
    PagerRow r;
    r.PagerNumber = pager;
    r.CompanyNumber = QStringLiteral("5551000");
    r.Enabled = enabled;
    r.PageType = pageType;
    r.AlarmType = alarmType;
    r.AlarmSetting = setting;
    return r;
}

// One set of pager checks with everything they touch, recording the pages handed on.
struct Bench
{
    Configuration config;
    ReadingsRecord readings;
    ManualClock clock{QDateTime(QDate(2026, 3, 2), QTime(9, 0))};
    QList<SentPage> sent;
    QStringList templatesRead;
    QString failingTemplate;
    PagerChecks checks{
        config, readings, clock,
        PagerCheckWiring{[this](const QString &path) {
                             templatesRead << path;
                             if (path == failingTemplate)
                                 return PagerReport{std::nullopt, QStringLiteral("cannot open")};
                             return PagerReport{QStringLiteral("report from ") + path, {}};
                         },
                         [this](const QString &p, const QString &m, const QString &c) {
                             sent.append({p, m, c, clock.now()});
                         }}};

    Bench()
    {
        config.HourlyPageTemplate = QStringLiteral("hourly.txt");
        config.DailyPageTemplate = QStringLiteral("daily.txt");
    }
};

} // namespace

Q_DECLARE_METATYPE(PagerRow)

class TestPagerChecks : public QObject
{
    Q_OBJECT
private slots:
    void reportSchedule_data();
    void reportSchedule();
    void reportPagesOncePerFlagPeriod();
    void twoHourlyRowsPageInRowOrder();
    void alarms_data();
    void alarms();
    void unusableValueSkipsOnlyItsRow_data();
    void unusableValueSkipsOnlyItsRow();
    void unreadableTemplateEndsTheCheck();
    void alarmHeldFortyMinutesPagesOncePerQuarterHour();
};

void TestPagerChecks::reportSchedule_data()
{
    QTest::addColumn<int>("pageType");
    QTest::addColumn<QTime>("time");
    QTest::addColumn<int>("enabled");
    QTest::addColumn<QString>("expectedMessage"); // empty: no page

    const QString hourly = QStringLiteral("report from hourly.txt");
    const QString daily = QStringLiteral("report from daily.txt");
    QTest::newRow("hourly 08:00") << 0 << QTime(8, 0) << 1 << hourly;
    QTest::newRow("hourly 20:00") << 0 << QTime(20, 0, 40) << 1 << hourly;
    QTest::newRow("hourly 07:00") << 0 << QTime(7, 0) << 1 << QString();
    QTest::newRow("hourly 21:00") << 0 << QTime(21, 0) << 1 << QString();
    QTest::newRow("hourly 08:01") << 0 << QTime(8, 1) << 1 << QString();
    QTest::newRow("hourly disabled") << 0 << QTime(9, 0) << 0 << QString();
    QTest::newRow("daily 12:00") << 1 << QTime(12, 0, 50) << 1 << daily;
    QTest::newRow("daily 11:00") << 1 << QTime(11, 0) << 1 << QString();
    QTest::newRow("daily 12:01") << 1 << QTime(12, 1) << 1 << QString();
    QTest::newRow("daily disabled") << 1 << QTime(12, 0) << 0 << QString();
    QTest::newRow("rainfall at noon") << 7 << QTime(12, 0) << 1 << QString();
    QTest::newRow("nothing chosen") << -1 << QTime(12, 0) << 1 << QString();
}

void TestPagerChecks::reportSchedule()
{
    QFETCH(int, pageType);
    QFETCH(QTime, time);
    QFETCH(int, enabled);
    QFETCH(QString, expectedMessage);

    Bench b;
    b.config.Pagers[2] = row(pageType, 0, {}, enabled, QStringLiteral("777"));
    b.clock.setNow(QDateTime(QDate(2026, 3, 2), time));
    PagerFlags flags;
    QVERIFY(b.checks.CheckPagers(flags).isEmpty());

    if (expectedMessage.isEmpty()) {
        QVERIFY(b.sent.isEmpty());
        QVERIFY(b.templatesRead.isEmpty());
        QVERIFY(!flags.HourlyPageSent[2] && !flags.DailyPageSent[2]);
        return;
    }
    QCOMPARE(b.sent.size(), 1);
    QCOMPARE(b.sent[0].pager, QStringLiteral("777"));
    QCOMPARE(b.sent[0].company, QStringLiteral("5551000"));
    QCOMPARE(b.sent[0].message, expectedMessage);
    QCOMPARE(pageType == 0 ? flags.HourlyPageSent[2] : flags.DailyPageSent[2], true);
}

void TestPagerChecks::reportPagesOncePerFlagPeriod()
{
    Bench b;
    b.config.Pagers[0] = row(0);
    b.config.Pagers[1] = row(1);
    b.clock.setNow(QDateTime(QDate(2026, 3, 2), QTime(12, 0, 5)));
    PagerFlags flags;
    // Six ticks of the same minute: one hourly and one daily page.
    for (int tick = 0; tick < 6; ++tick) {
        b.checks.CheckPagers(flags);
        b.clock.advanceSeconds(10);
    }
    QCOMPARE(b.sent.size(), 2);
    // Cleared flags (as at hh:05) let the row page again when its time comes.
    flags.clear();
    b.clock.setNow(QDateTime(QDate(2026, 3, 2), QTime(13, 0)));
    b.checks.CheckPagers(flags);
    QCOMPARE(b.sent.size(), 3);
    QCOMPARE(b.sent.last().message, QStringLiteral("report from hourly.txt"));
}

void TestPagerChecks::twoHourlyRowsPageInRowOrder()
{
    Bench b;
    b.config.Pagers[1] = row(0, 0, {}, 1, QStringLiteral("111"));
    b.config.Pagers[3] = row(0, 0, {}, 1, QStringLiteral("333"));
    PagerFlags flags;
    b.checks.CheckPagers(flags);
    QCOMPARE(b.sent.size(), 2);
    QCOMPARE(b.sent[0].pager, QStringLiteral("111"));
    QCOMPARE(b.sent[1].pager, QStringLiteral("333"));
    QVERIFY(flags.HourlyPageSent[1] && flags.HourlyPageSent[3]);
}

void TestPagerChecks::alarms_data()
{
    QTest::addColumn<int>("pageType");
    QTest::addColumn<int>("alarmType");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("reading");
    QTest::addColumn<QVariant>("threshold");
    QTest::addColumn<int>("units");
    QTest::addColumn<QString>("expected"); // empty: no page

    QTest::newRow("gust above high")
        << 2 << 1 << "GustSpeed"
        << "35" << QVariant(30) << 0 << "High Wind speed alarm triggered at 35 MPH";
    QTest::newRow("gust equal to high") << 2 << 1 << "GustSpeed"
                                        << "30.0" << QVariant("30") << 0 << "";
    QTest::newRow("gust below low, metric")
        << 2 << 2 << "GustSpeed"
        << "001.5" << QVariant("2") << 1 << "Low Wind speed alarm triggered at 001.5 M/S";
    QTest::newRow("temperature below low")
        << 3 << 2 << "OutdoorTemperature"
        << "-5.0" << QVariant("0") << 1 << "Low Temperature alarm triggered at -5.0 C";
    QTest::newRow("temperature equal to low") << 3 << 2 << "OutdoorTemperature"
                                              << "32.0" << QVariant(32.0) << 0 << "";
    QTest::newRow("temperature high, reading below") << 3 << 1 << "OutdoorTemperature"
                                                     << "70.0" << QVariant(80) << 0 << "";
    QTest::newRow("dewpoint above high")
        << 4 << 1 << "OutdoorDewpoint"
        << "65" << QVariant(60) << 0 << "High Dewpoint alarm triggered at 65 F";
    QTest::newRow("humidity below low, metric")
        << 5 << 2 << "OutdoorHumidity"
        << "18" << QVariant(25) << 1 << "Low Humidity alarm triggered at 18 %";
    QTest::newRow("barometer above high")
        << 6 << 1 << "SeaLevelPressure"
        << "30.21" << QVariant(" 30.00 ") << 0 << "High Barometer alarm triggered at 30.21 in Hg";
    QTest::newRow("barometer below low, metric")
        << 6 << 2 << "SeaLevelPressure"
        << "990" << QVariant("1000") << 1 << "Low Barometer alarm triggered at 990 MBar";
    QTest::newRow("direction None, wind") << 2 << 0 << "GustSpeed"
                                          << "99" << QVariant(1) << 0 << "";
    QTest::newRow("direction None, barometer") << 6 << 0 << "SeaLevelPressure"
                                               << "1" << QVariant(40) << 0 << "";
    QTest::newRow("rainfall has no check") << 7 << 1 << "RainRate"
                                           << "9" << QVariant(1) << 0 << "";
}

void TestPagerChecks::alarms()
{
    QFETCH(int, pageType);
    QFETCH(int, alarmType);
    QFETCH(QString, field);
    QFETCH(QString, reading);
    QFETCH(QVariant, threshold);
    QFETCH(int, units);
    QFETCH(QString, expected);

    Bench b;
    b.config.DisplayUnits = qint16(units);
    b.config.Pagers[0] = row(pageType, alarmType, threshold);
    b.config.Pagers[4] = row(pageType, alarmType, threshold, 0); // disabled: never pages
    b.readings.setText(field, reading);
    b.clock.setNow(QDateTime(QDate(2026, 3, 2), QTime(3, 17)));
    PagerFlags flags;
    b.checks.CheckPagers(flags);

    if (expected.isEmpty()) {
        QVERIFY(b.sent.isEmpty());
        QVERIFY(!flags.AlarmPageSent[0]);
        return;
    }
    QCOMPARE(b.sent.size(), 1);
    QCOMPARE(b.sent[0].message, expected);
    QVERIFY(flags.AlarmPageSent[0]);
    QVERIFY(!flags.AlarmPageSent[4]);
    // The flag holds the row back while the condition lasts.
    b.checks.CheckPagers(flags);
    QCOMPARE(b.sent.size(), 1);
}

void TestPagerChecks::unusableValueSkipsOnlyItsRow_data()
{
    QTest::addColumn<QString>("pressure");
    QTest::addColumn<QVariant>("threshold");

    QTest::newRow("no barometer frame yet") << QString() << QVariant("29.5");
    QTest::newRow("reading not a number") << QStringLiteral("---") << QVariant("29.5");
    QTest::newRow("empty alarm setting") << QStringLiteral("29.9") << QVariant(QString());
    QTest::newRow("alarm setting unset") << QStringLiteral("29.9") << QVariant();
    QTest::newRow("alarm setting text") << QStringLiteral("29.9") << QVariant("low");
}

void TestPagerChecks::unusableValueSkipsOnlyItsRow()
{
    QFETCH(QString, pressure);
    QFETCH(QVariant, threshold);

    Bench b;
    b.config.Pagers[0] = row(6, 1, threshold, 1, QStringLiteral("100"));
    b.config.Pagers[1] = row(2, 1, QVariant(20), 1, QStringLiteral("101"));
    if (!pressure.isNull())
        b.readings.setText(QStringLiteral("SeaLevelPressure"), pressure);
    b.readings.setText(QStringLiteral("GustSpeed"), QStringLiteral("25"));
    b.clock.setNow(QDateTime(QDate(2026, 3, 2), QTime(14, 33)));
    PagerFlags flags;
    const QList<PagerRowProblem> problems = b.checks.CheckPagers(flags);

    QCOMPARE(problems.size(), 1);
    QCOMPARE(problems[0].row, 0);
    QVERIFY(!flags.AlarmPageSent[0]);
    QCOMPARE(b.sent.size(), 1);
    QCOMPARE(b.sent[0].pager, QStringLiteral("101"));
}

void TestPagerChecks::unreadableTemplateEndsTheCheck()
{
    Bench b;
    b.failingTemplate = b.config.HourlyPageTemplate;
    b.config.Pagers[0] = row(0, 0, {}, 1, QStringLiteral("100"));
    b.config.Pagers[1] = row(1, 0, {}, 1, QStringLiteral("101"));
    b.clock.setNow(QDateTime(QDate(2026, 3, 2), QTime(12, 0)));
    PagerFlags flags;
    const QList<PagerRowProblem> problems = b.checks.CheckPagers(flags);
    QCOMPARE(problems.size(), 1);
    QCOMPARE(problems[0].row, 0);
    QVERIFY(flags.HourlyPageSent[0]); // set before the template was read
    QVERIFY(b.sent.isEmpty());

    // The next tick does not try the hourly row again and reaches the daily row.
    b.clock.advanceSeconds(10);
    QVERIFY(b.checks.CheckPagers(flags).isEmpty());
    QCOMPARE(b.sent.size(), 1);
    QCOMPARE(b.sent[0].pager, QStringLiteral("101"));
    QCOMPARE(b.templatesRead,
             QStringList({QStringLiteral("hourly.txt"), QStringLiteral("daily.txt")}));
}

namespace {

// The scheduler with nothing but the pager checks and their flags.
class PagerJobs final : public ScheduledJobs
{
public:
    PagerJobs(Clock &clock, PagerChecks &checks) : m_clock(clock), m_checks(checks) {}
    void createMonthDatabase(const QDate &) override {}
    std::unique_ptr<Job> newRun(ScheduledJob job) override
    {
        if (job != ScheduledJob::Paging)
            return nullptr;
        return std::make_unique<FakeJob>(m_clock, 0, [this] { m_checks.CheckPagers(m_flags); });
    }
    void clearPageSentFlags() override { m_flags.clear(); }

private:
    Clock &m_clock;
    PagerChecks &m_checks;
    PagerFlags m_flags;
};

} // namespace

void TestPagerChecks::alarmHeldFortyMinutesPagesOncePerQuarterHour()
{
    Bench b;
    b.clock.setNow(QDateTime(QDate(2026, 3, 2), QTime(10, 2)));
    b.config.Pagers[0] = row(2, 1, QVariant(30));
    b.readings.setText(QStringLiteral("GustSpeed"), QStringLiteral("41"));

    PagerJobs jobs(b.clock, b.checks);
    Scheduler scheduler(b.clock, b.config, jobs);
    scheduler.start();
    const QDateTime until = b.clock.now().addSecs(40 * 60);
    while (b.clock.now() < until)
        b.clock.advanceSeconds(1);
    b.readings.setText(QStringLiteral("GustSpeed"), QStringLiteral("12"));
    b.clock.advanceSeconds(30 * 60);

    // 10:02 to 10:42 touches the periods beginning 09:50, 10:05, 10:20 and 10:35.
    QCOMPARE(b.sent.size(), 4);
    const QList<QTime> periods{QTime(9, 50), QTime(10, 5), QTime(10, 20), QTime(10, 35)};
    for (int i = 0; i < b.sent.size(); ++i) {
        QVERIFY2(b.sent[i].at < until, qPrintable(b.sent[i].at.toString()));
        QCOMPARE(quarterHourPeriod(b.sent[i].at).time(), periods[i]);
    }
}

QTEST_GUILESS_MAIN(TestPagerChecks)
#include "tst_pagerchecks.moc"
