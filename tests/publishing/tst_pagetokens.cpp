// Page token values: sources, trimming, compass words of direction texts and the time stamps.
#include "acquisition/readingsrecord.h"
#include "publishing/compassword.h"
#include "publishing/pagetokens.h"

#include <QSet>
#include <QtTest>

namespace {

const QDateTime kLocal(QDate(1999, 7, 24), QTime(15, 28, 3));
const QDateTime kUtc(QDate(1999, 7, 24), QTime(20, 28, 3), QTimeZone::utc());

void row(const char *name, const char *first, const char *second)
{
    QTest::newRow(name) << QString::fromLatin1(first) << QString::fromLatin1(second);
}

} // namespace

class TestPageTokens : public QObject
{
    Q_OBJECT
private slots:
    void everyTokenIsReplacedByItsOwnValue();
    void tokenValues_data();
    void tokenValues();
    void timeStamps();
    void compassWordOfText_data();
    void compassWordOfText();
};

void TestPageTokens::everyTokenIsReplacedByItsOwnValue()
{
    ReadingsRecord record;
    for (const QString &field : ReadingsRecord::fieldNames())
        record.setText(field, QStringLiteral("  v-%1 ").arg(field));
    const TokenValues values =
        PageTokenValues(record, "rain", "West", "East", kLocal, kLocal.toUTC());
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

void TestPageTokens::tokenValues_data()
{
    QTest::addColumn<QString>("token");
    QTest::addColumn<QString>("expected");
    // Readings hold their own field name padded with blanks; values come out trimmed.
    row("tokens that look alike: date", "*HWDT*", "HighWindDate");
    row("tokens that look alike: time", "*HWTM*", "HighWindTime");
    row("degrees, not the word", "*AWD*", "AverageDirection");
    row("high, low and alarm letters", "*DOLT*", "OutdoorDewpointLowTime");
    row("alarm threshold", "*HOAH*", "OutdoorHumidityAlarmHigh");
    row("wind chill in whole numbers", "*WCH*", "WindChillWhole");
    row("date and time not trimmed, U.S. form", "*D/T*", "7/24/1999 3:28:03 PM");
    row("forecast trimmed", "*SWX*", "Sunny");
    row("gust word", "*CWDA*", "Gust");
    row("average word", "*AWDA*", "Average");
    row("stamp from the UTC time", "*GMT*", "Sat, 24 Jul 1999 20:28:03 GMT");
}

void TestPageTokens::tokenValues()
{
    QFETCH(QString, token);
    QFETCH(QString, expected);
    ReadingsRecord record;
    for (const QString &f : ReadingsRecord::fieldNames())
        record.setText(f, QStringLiteral(" %1\t").arg(f));
    const TokenValues values =
        PageTokenValues(record, "\r\n Sunny \r\n", "Gust", "Average", kLocal, kUtc);
    const auto it = std::find_if(values.cbegin(), values.cend(),
                                 [&](const TokenValue &tv) { return tv.token == token; });
    QVERIFY(it != values.cend());
    QCOMPARE(it->value, expected);
}

void TestPageTokens::timeStamps()
{
    ReadingsRecord record;
    const QDateTime midnight(QDate(2026, 3, 5), QTime(0, 0));
    const QDateTime earlyUtc(QDate(2026, 1, 1), QTime(0, 5, 9), QTimeZone::utc());
    const TokenValues values = PageTokenValues(record, {}, {}, {}, midnight, earlyUtc);
    QCOMPARE(ExpandTemplateText("*D/T*|*GMT*|*SWX*|", values),
             QStringLiteral("3/5/2026|Thu, 01 Jan 2026 00:05:09 GMT||"));
}

void TestPageTokens::compassWordOfText_data()
{
    QTest::addColumn<QString>("direction");
    QTest::addColumn<QString>("word");
    row("22", "22", "North");
    row("23", "23", "NorthEast");
    row("336", "336", "NorthWest");
    row("337", "337", "North");
    row("360", "360", "North");
    row("empty", "", "North");
    row("not a number", "calm", "North");
    row("rounded, not cut", "22.6", "NorthEast");
    row("negative", "-40", "North");
}

void TestPageTokens::compassWordOfText()
{
    QFETCH(QString, direction);
    QFETCH(QString, word);
    QCOMPARE(pageCompassWord(direction), word);
}

QTEST_GUILESS_MAIN(TestPageTokens)
#include "tst_pagetokens.moc"
