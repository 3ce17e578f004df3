// Page token values: sources, trimming, compass words and the time stamps.
#include "acquisition/readingsrecord.h"
#include "publishing/compassword.h"
#include "publishing/pagetokens.h"

#include <QSet>
#include <QtTest>

namespace {

QString valueOf(const TokenValues &values, const QString &token)
{
    for (const TokenValue &tv : values) {
        if (tv.token == token)
            return tv.value;
    }
    return QStringLiteral("<missing>");
}

const QDateTime kLocal(QDate(1999, 7, 24), QTime(15, 28, 3));

} // namespace

class TestPageTokens : public QObject
{
    Q_OBJECT
private slots:
    void everyTokenIsReplacedByItsOwnValue();
    void tokensTakeTheirNamedField_data();
    void tokensTakeTheirNamedField();
    void computedValues_data();
    void computedValues();
    void compassWordBounds_data();
    void compassWordBounds();
};

void TestPageTokens::everyTokenIsReplacedByItsOwnValue()
{
    ReadingsRecord record;
    for (const QString &field : ReadingsRecord::fieldNames())
        record.setText(field, QStringLiteral("  v-%1 ").arg(field));
    const TokenValues values =
        PageTokenValues(record, QStringLiteral("rain"), QStringLiteral("West"),
                        QStringLiteral("East"), kLocal, kLocal.toUTC());
    QCOMPARE(values.size(), 80);
    QCOMPARE(values.first().token, QStringLiteral("*D/T*"));
    QCOMPARE(values.last().token, QStringLiteral("*GMT*"));

    // A page of all 80 tokens leaves none of them, and no two tokens share a source.
    QString page;
    QSet<QString> distinct;
    for (const TokenValue &tv : values) {
        QVERIFY2(tv.token.size() == 5 || tv.token.size() == 6, qPrintable(tv.token));
        page += tv.token + QLatin1Char('|');
        distinct.insert(tv.value);
    }
    QCOMPARE(distinct.size(), 80);
    const QString expanded = ExpandTemplateText(page, values);
    for (const QString &token : pageTokenNames())
        QVERIFY2(!expanded.contains(token), qPrintable(token));
}

void TestPageTokens::tokensTakeTheirNamedField_data()
{
    QTest::addColumn<QString>("token");
    QTest::addColumn<QString>("field");
    QTest::newRow("sea level") << "*BPS*"
                               << "SeaLevelPressure";
    QTest::newRow("station forecast") << "*BPR*"
                                      << "StationForecast";
    QTest::newRow("average direction degrees") << "*AWD*"
                                               << "AverageDirection";
    QTest::newRow("gust direction degrees") << "*CWD*"
                                            << "GustDirection";
    QTest::newRow("high wind date") << "*HWDT*"
                                    << "HighWindDate";
    QTest::newRow("high wind time") << "*HWTM*"
                                    << "HighWindTime";
    QTest::newRow("indoor temperature high") << "*TIHF*"
                                             << "IndoorTemperatureHigh";
    QTest::newRow("outdoor dewpoint low time") << "*DOLT*"
                                               << "OutdoorDewpointLowTime";
    QTest::newRow("outdoor humidity alarm high") << "*HOAH*"
                                                 << "OutdoorHumidityAlarmHigh";
    QTest::newRow("indoor humidity low date") << "*HILD*"
                                              << "IndoorHumidityLowDate";
    QTest::newRow("rain reset time") << "*RET*"
                                     << "RainResetTime";
    QTest::newRow("rain reset date") << "*RRD*"
                                     << "RainResetDate";
    QTest::newRow("wind chill whole") << "*WCH*"
                                      << "Wx.Text17";
    QTest::newRow("heat index") << "*THI*"
                                << "HeatIndex";
}

void TestPageTokens::tokensTakeTheirNamedField()
{
    QFETCH(QString, token);
    QFETCH(QString, field);
    ReadingsRecord record;
    for (const QString &f : ReadingsRecord::fieldNames())
        record.setText(f, QStringLiteral(" %1\t").arg(f));
    const TokenValues values = PageTokenValues(record, {}, {}, {}, kLocal, kLocal.toUTC());
    QCOMPARE(valueOf(values, token), field); // trimmed
}

void TestPageTokens::computedValues_data()
{
    QTest::addColumn<QDateTime>("local");
    QTest::addColumn<QDateTime>("utc");
    QTest::addColumn<QString>("forecast");
    QTest::addColumn<QString>("token");
    QTest::addColumn<QString>("expected");
    const QDateTime utc(QDate(1999, 7, 24), QTime(20, 28, 3), QTimeZone::utc());
    QTest::newRow("gmt from utc") << kLocal << utc << QString() << "*GMT*"
                                  << "Sat, 24 Jul 1999 20:28:03 GMT";
    const QDateTime pastMidnight(QDate(2026, 1, 1), QTime(0, 5, 9), QTimeZone::utc());
    QTest::newRow("gmt two-digit fields") << kLocal << pastMidnight << QString() << "*GMT*"
                                          << "Thu, 01 Jan 2026 00:05:09 GMT";
    QTest::newRow("date and time") << kLocal << utc << QString() << "*D/T*"
                                   << "7/24/1999 3:28:03 PM";
    QTest::newRow("midnight shows date alone")
        << QDateTime(QDate(2026, 3, 5), QTime(0, 0)) << utc << QString() << "*D/T*"
        << "3/5/2026";
    QTest::newRow("forecast trimmed") << kLocal << utc << "\r\n Sunny \r\n"
                                      << "*SWX*"
                                      << "Sunny";
    QTest::newRow("no forecast yet") << kLocal << utc << QString() << "*SWX*"
                                     << "";
    QTest::newRow("gust word") << kLocal << utc << QString() << "*CWDA*"
                               << "Gust";
    QTest::newRow("average word") << kLocal << utc << QString() << "*AWDA*"
                                  << "Average";
}

void TestPageTokens::computedValues()
{
    QFETCH(QDateTime, local);
    QFETCH(QDateTime, utc);
    QFETCH(QString, forecast);
    QFETCH(QString, token);
    QFETCH(QString, expected);
    ReadingsRecord record;
    const TokenValues values = PageTokenValues(record, forecast, QStringLiteral("Gust"),
                                               QStringLiteral("Average"), local, utc);
    QCOMPARE(valueOf(values, token), expected);
}

void TestPageTokens::compassWordBounds_data()
{
    QTest::addColumn<QString>("direction");
    QTest::addColumn<QString>("word");
    QTest::newRow("22") << "22"
                        << "North";
    QTest::newRow("23") << "23"
                        << "NorthEast";
    QTest::newRow("67") << "67"
                        << "NorthEast";
    QTest::newRow("68") << "68"
                        << "East";
    QTest::newRow("112") << "112"
                         << "East";
    QTest::newRow("113") << "113"
                         << "SouthEast";
    QTest::newRow("156") << "156"
                         << "SouthEast";
    QTest::newRow("157") << "157"
                         << "South";
    QTest::newRow("202") << "202"
                         << "South";
    QTest::newRow("203") << "203"
                         << "SouthWest";
    QTest::newRow("247") << "247"
                         << "SouthWest";
    QTest::newRow("248") << "248"
                         << "West";
    QTest::newRow("292") << "292"
                         << "West";
    QTest::newRow("293") << "293"
                         << "NorthWest";
    QTest::newRow("336") << "336"
                         << "NorthWest";
    QTest::newRow("337") << "337"
                         << "North";
    QTest::newRow("360") << "360"
                         << "North";
    QTest::newRow("empty") << ""
                           << "North";
    QTest::newRow("not a number") << "calm"
                                  << "North";
    QTest::newRow("spaces around") << " 90 "
                                   << "East";
    QTest::newRow("half down to even") << "22.5"
                                       << "North";
    QTest::newRow("half up to even") << "67.5"
                                     << "East";
    QTest::newRow("above half") << "22.6"
                                << "NorthEast";
    QTest::newRow("negative") << "-40"
                              << "North";
}

void TestPageTokens::compassWordBounds()
{
    QFETCH(QString, direction);
    QFETCH(QString, word);
    QCOMPARE(pageCompassWord(direction), word);
}

QTEST_GUILESS_MAIN(TestPageTokens)
#include "tst_pagetokens.moc"
