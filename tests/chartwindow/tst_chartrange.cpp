// "Open Range...": months read as one series in time order, missing months named, the date
// axis (and nothing of a month's positions on it), "&Math" over the whole range, and the
// answers it refuses.
#include "charting/chart2d.h"
#include "charting/data/monthrange.h"
#include "chartwindow/chartwindowfixture.h"
#include "logging/monthdatabase.h"

#include <QLineEdit>
#include <QtTest>

namespace {

// A month file with "Indoor Data" and "Outdoor Data"; the latter gets (date text, value) rows.
void makeMonth(const QTemporaryDir &dir, const QDate &month,
               const QList<std::pair<QString, double>> &rows)
{
    SqliteFile db;
    QVERIFY(db.open(MonthDatabase(dir.path(), month), SqliteFile::Mode::Create).ok());
    QVERIFY(db.exec("CREATE TABLE \"Indoor Data\" (Date_Time, \"Indoor Temperature\")").ok());
    QVERIFY(db.exec("CREATE TABLE \"Outdoor Data\" (Date_Time, Temperature)").ok());
    for (const auto &[when, v] : rows)
        QVERIFY(db.exec(QStringLiteral("INSERT INTO \"Outdoor Data\" VALUES ('%1', %2)")
                            .arg(when)
                            .arg(v))
                    .ok());
}

double seconds(int month, int day, int hour)
{
    return double(QDateTime(QDate(2026, month, day), QTime(hour, 0)).toSecsSinceEpoch());
}

} // namespace

class TestChartRange : public QObject
{
    Q_OBJECT

private slots:
    void generalDates_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("PM") << "1/31/2026 11:00:00 PM" << seconds(1, 31, 23);
        QTest::newRow("12 AM is midnight") << "3/2/2026 12:00:00 AM" << seconds(3, 2, 0);
        QTest::newRow("12 PM is noon") << "3/2/2026 12:00:00 PM" << seconds(3, 2, 12);
        QTest::newRow("date alone") << "3/2/2026" << seconds(3, 2, 0);
        QTest::newRow("no such day") << "2/30/2026 1:00:00 AM" << qQNaN();
        QTest::newRow("13 o'clock") << "2/3/2026 13:00:00 PM" << qQNaN();
        QTest::newRow("not a date") << "10:05" << qQNaN();
    }
    void generalDates()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        const double got = generalDateSeconds(text);
        if (qIsNaN(expected))
            QVERIFY2(qIsNaN(got), qPrintable(QString::number(got)));
        else
            QCOMPARE(got, expected);
    }

    void rangeInTimeOrder()
    {
        QTemporaryDir dir;
        makeMonth(dir, QDate(2026, 1, 1),
                  {{"1/1/2026 1:00:00 AM", 10}, {"1/15/2026 2:00:00 PM", 31}});
        // February has no file. March was logged out of order, with one unreadable time.
        makeMonth(dir, QDate(2026, 3, 1),
                  {{"3/2/2026 12:00:00 PM", 14}, {"3/1/2026 11:00:00 PM", 12}, {"garbage", 99}});

        Window w;
        w.chart.setDatabaseFolder(dir.path());
        w.dialogs.answers << "2026-01" << "2026-3" << "Outdoor Data";
        w.chart.action("m_openrange")->trigger();
        QVERIFY(w.chart.statusText().isEmpty()); // nothing is read before the wait window
        w.waitShown();
        QCOMPARE(w.chart.statusText(), QStringLiteral("Read 2 of 3 months; missing: FEB2026.MDB"));
        QCOMPARE(w.items("List1"), QStringList({"Indoor Data", "Outdoor Data"}));
        QCOMPARE(w.find<QLineEdit>("DT")->text(), QStringLiteral("Date_Time"));

        w.choose("list2", "Temperature");
        w.waitShown();
        Chart2D *chart = w.chart.chart();
        QCOMPARE(chart->yValues(1, 1), std::vector<double>({10, 31, 12, 14}));
        const std::vector<double> times = chart->dataSource()->values("Date_Time");
        QCOMPARE(times, std::vector<double>({seconds(1, 1, 1), seconds(1, 15, 14),
                                             seconds(3, 1, 23), seconds(3, 2, 12)}));
        // The X axis spans the times, not the record positions.
        const auto [lower, upper] = chart->axisRange(ChartAxis::X);
        QVERIFY(lower <= times.front() && upper >= times.back() && lower > 1e9);
        const QStringList dates = chart->shownAxisTexts(ChartAxis::X);
        QVERIFY(!dates.isEmpty());
        for (const QString &d : dates) // two months shown: day and month ("1 Feb")
            QVERIFY2(QRegularExpression(R"(^\d{1,2} [A-Z][a-z]{2}$)").match(d).hasMatch(),
                     qPrintable(d));

        // "&Math" over both months: every point counts.
        w.chart.Math();
        w.waitShown();
        QCOMPARE(w.find<QLineEdit>("Minimum")->text(), QStringLiteral("10"));
        QCOMPARE(w.find<QLineEdit>("Maximum")->text(), QStringLiteral("31"));
        QCOMPARE(w.find<QLineEdit>("Average")->text(), QStringLiteral("16")); // 67 div 4

        // One month file again: record positions, its own table.
        w.open(MonthDatabase(dir.path(), QDate(2026, 1, 1)));
        QVERIFY(chart->timeField().isEmpty());
        QCOMPARE(chart->yValues(1, 1), std::vector<double>({10, 31}));

        // Labels and a day put at record positions do not carry over into the range's dates.
        w.dialogs.answers << "2";
        w.chart.action("m_xadt")->trigger();
        w.waitShown();
        QVERIFY(!chart->valueLabels(ChartAxis::X).isEmpty());
        w.dialogs.answers << "1";
        w.chart.action("m_sortdata")->trigger();
        w.waitShown();
        QVERIFY(chart->axisMaximum(ChartAxis::X).has_value());
        w.dialogs.answers << "2026-01" << "2026-3" << "Outdoor Data";
        w.chart.action("m_openrange")->trigger();
        w.waitShown();
        QVERIFY(chart->valueLabels(ChartAxis::X).isEmpty());
        QVERIFY(!chart->axisMaximum(ChartAxis::X).has_value());
        QCOMPARE(chart->shownAxisTexts(ChartAxis::X), dates);
        w.dialogs.asked.clear();
        for (const char *action : {"m_xadt", "m_sortdata"})
            w.chart.action(action)->trigger();
        QCOMPARE(w.dialogs.asked,
                 QStringList({"The X Axis of a range shows its dates already",
                              "Chart Day works on one month file; open the month to chart one "
                              "of its days"}));
    }

    void refused_data()
    {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("told");
        QTest::newRow("no month") << QStringList{"2026-13"} << "Please enter a month as YYYY-MM";
        QTest::newRow("reversed") << QStringList{"2026-03", "2026-01", "Outdoor Data"}
                                  << "Corvane could not chart 2026-03 to 2026-01: the last month "
                                     "is before the first";
        QTest::newRow("no file")
            << QStringList{"2025-01", "2025-02", "Outdoor Data"}
            << "Corvane could not chart 2025-01 to 2025-02: no month file of the range holds "
               "\"Outdoor Data\"";
        QTest::newRow("cancelled") << QStringList{"2026-01", ""} << QString();
    }
    void refused()
    {
        QFETCH(QStringList, answers);
        QFETCH(QString, told);
        QTemporaryDir dir;
        makeMonth(dir, QDate(2026, 1, 1), {{"1/1/2026 1:00:00 AM", 10}});
        Window w;
        w.chart.setDatabaseFolder(dir.path());
        w.dialogs.answers = answers;
        w.chart.askRange();
        w.waitShown();
        const QStringList messages = w.dialogs.asked.filter(QRegularExpression("^[^\\[]*$"));
        QCOMPARE(messages, told.isEmpty() ? QStringList() : QStringList{told});
        QCOMPARE(w.items("List1"), QStringList()); // nothing was opened
    }
};

QTEST_MAIN(TestChartRange)
#include "tst_chartrange.moc"
