// The "&Math" figures: integer average with rounding before division, missing points, start
// values of minimum and maximum, the cost of a flow series and the footer texts.
#include "charting/data/chartstatistics.h"

#include <QtTest>
#include <cmath>

using Values = std::vector<double>;

class TestChartStatistics : public QObject
{
    Q_OBJECT
private slots:
    void statistics_data()
    {
        QTest::addColumn<Values>("values");
        QTest::addColumn<QString>("footer");
        const double nan = std::nan("");
        QTest::newRow("missing point counts in n")
            << Values{10, 20, 31, 2e6}
            << "S: Minimum=10, Maximum=31, Average=15, Standard Deviation=9";
        QTest::newRow("NaN is a missing point")
            << Values{10, nan, 20, 31}
            << "S: Minimum=10, Maximum=31, Average=15, Standard Deviation=9";
        QTest::newRow("all below -1000 keeps the maximum's start")
            << Values{-1500, -2000}
            << "S: Minimum=-2000, Maximum=-1000, Average=-1750, Standard Deviation=250";
        QTest::newRow("all missing keeps both starts")
            << Values{2e6, 3e6}
            << "S: Minimum=1000000, Maximum=-1000, Average=0, Standard Deviation=0";
        // 2.5 rounds to 2, so 2 \ 1 = 2, not 3; the deviation 0.5 rounds to 0.
        QTest::newRow("sum rounded half to even")
            << Values{2.5} << "S: Minimum=2.5, Maximum=2.5, Average=2, Standard Deviation=0";
        // 7 \ 2 truncates to 3; 3.5 is not even rounded up.
        QTest::newRow("quotient truncated")
            << Values{3, 4} << "S: Minimum=3, Maximum=4, Average=3, Standard Deviation=1";
        QTest::newRow("negative quotient toward zero")
            << Values{-3, -4} << "S: Minimum=-4, Maximum=-3, Average=-3, Standard Deviation=1";
        // sqrt(6.25) = 2.5 -> 2 and sqrt(12.25) = 3.5 -> 4: the deviation rounds half to even.
        QTest::newRow("deviation half down")
            << Values{-2.5, 2.5} << "S: Minimum=-2.5, Maximum=2.5, Average=0, Standard Deviation=2";
        QTest::newRow("deviation half up")
            << Values{-3.5, 3.5} << "S: Minimum=-3.5, Maximum=3.5, Average=0, Standard Deviation=4";
    }
    void statistics()
    {
        QFETCH(Values, values);
        QFETCH(QString, footer);
        const auto s = computeStatistics(values);
        QVERIFY(s);
        QCOMPARE(s->n, int(values.size()));
        QCOMPARE(mathFooter("S", *s), footer);
    }

    void noPoints() { QVERIFY(!computeStatistics({})); }

    void cost_data()
    {
        QTest::addColumn<QString>("series");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("cost"); // empty: no cost
        QTest::newRow("air flow") << "Air Flow"
                                  << "15"
                                  << ".0001234 "
                                  << "7.1078";
        QTest::newRow("fraction rounded") << "FLOW"
                                          << "14.5"
                                          << "0.0001234"
                                          << "6.634";
        QTest::newRow("rate not a number") << "flow"
                                           << ""
                                           << ".0001234"
                                           << "";
        QTest::newRow("rate beyond 16 bits") << "flow"
                                             << "40000"
                                             << ".0001234"
                                             << "";
        QTest::newRow("price empty") << "flow"
                                     << "15"
                                     << " "
                                     << "";
    }
    void cost()
    {
        QFETCH(QString, series);
        QFETCH(QString, rate);
        QFETCH(QString, price);
        QFETCH(QString, cost);
        QVERIFY(isFlowSeries(series));
        SeriesStatistics s;
        s.n = 96;
        s.average = 40;
        const std::optional<Currency> c = totalCost(s, rate, price);
        QCOMPARE(c ? formatCurrency(*c) : QString(), cost);
        if (c) {
            QCOMPARE(mathFooter(series, s, c), series +
                                                   ": Minimum=1000000, Maximum=-1000, Average=40, "
                                                   "Standard Deviation=0,Total Cost=" +
                                                   cost);
        }
    }

    void flowNamesAndCurrencyTexts()
    {
        QVERIFY(isFlowSeries("Overflowed")); // "flow" inside a word counts
        QVERIFY(!isFlowSeries("Temperature"));
        QCOMPARE(formatCurrency(-20000), QStringLiteral("-2"));
        QCOMPARE(formatCurrency(5), QStringLiteral("0.0005"));
    }
};

QTEST_GUILESS_MAIN(TestChartStatistics)
#include "tst_chartstatistics.moc"
