// Readings must reach the log columns in the right form, and "N/A" or other non-numbers stay
// empty (which texts are numbers: tst_readingnumber).
#include "acquisition/readingsrecord.h"
#include "logging/logschema.h"

#include <QSet>
#include <QtTest>

class TstLogSchema : public QObject
{
    Q_OBJECT
private slots:
    void conversion_data();
    void conversion();
    void everySourceIsAReadingsField();
    void columnNamesAreUniquePerTable_data();
    void columnNamesAreUniquePerTable();
};

void TstLogSchema::conversion_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<LogForm>("form");
    QTest::addColumn<QVariant>("expected"); // invalid QVariant = the column stays empty

    const QVariant empty;
    QTest::newRow("N drops a trailing .0") << "72.0" << LogForm::Number << QVariant("72");
    QTest::newRow("N keeps decimals") << "29.92" << LogForm::Number << QVariant("29.92");
    QTest::newRow("N heat index N/A") << "N/A" << LogForm::Number << empty;
    QTest::newRow("I whole degrees") << "225" << LogForm::Int16 << QVariant("225");
    QTest::newRow("I half rounds to even") << "23.5" << LogForm::Int16 << QVariant("24");
    QTest::newRow("I out of 16 bits") << "40000" << LogForm::Int16 << empty;
    QTest::newRow("I text") << "NE" << LogForm::Int16 << empty;
    QTest::newRow("T as shown") << "8:05" << LogForm::Text << QVariant("8:05");
    QTest::newRow("T keeps N/A") << "N/A" << LogForm::Text << QVariant("N/A");
    QTest::newRow("T never received") << "" << LogForm::Text << empty;
}

void TstLogSchema::conversion()
{
    QFETCH(QString, text);
    QFETCH(LogForm, form);
    QFETCH(QVariant, expected);
    const QVariant v = logValue(text, form, QDateTime(QDate(2026, 1, 15), QTime(12, 0)));
    QCOMPARE(v.isValid(), expected.isValid());
    if (expected.isValid())
        QCOMPARE(v.toString(), expected.toString());
}

void TstLogSchema::everySourceIsAReadingsField()
{
    // A misspelt source name would silently log an empty column forever.
    const QSet<QString> fields(ReadingsRecord::fieldNames().cbegin(),
                               ReadingsRecord::fieldNames().cend());
    for (int i = 0; i < kLogFieldCount; ++i) {
        const LogColumn &c = logColumn(i);
        if (c.form == LogForm::Now) {
            QCOMPARE(QString::fromLatin1(c.column), QStringLiteral("Date_Time"));
            continue;
        }
        QVERIFY2(fields.contains(QLatin1String(c.field)), c.field);
    }
}

void TstLogSchema::columnNamesAreUniquePerTable_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("oddNames");
    QTest::newRow("Outdoor Data") << 0 << kOutdoorColumnCount
                                  << QStringList{"Humidity Alarm High", "Wind Chill Date",
                                                 "Wind Chill Time", "SeaLevel Barometric Pressure"};
    QTest::newRow("Indoor Data") << kOutdoorColumnCount << kIndoorColumnCount
                                 << QStringList{"Humidity High Alarm", "Temperature Low time",
                                                "Dewpoint Low Alarm"};
}

void TstLogSchema::columnNamesAreUniquePerTable()
{
    QFETCH(int, first);
    QFETCH(int, count);
    QFETCH(QStringList, oddNames);
    QSet<QString> names;
    for (int i = first; i < first + count; ++i)
        names.insert(QString::fromLatin1(logColumn(i).column).toLower());
    QCOMPARE(names.size(), count); // SQLite compares column names without case
    QSet<QString> exact;
    for (int i = first; i < first + count; ++i)
        exact.insert(QString::fromLatin1(logColumn(i).column));
    for (const QString &odd : oddNames)
        QVERIFY2(exact.contains(odd), qPrintable(odd));
}

QTEST_GUILESS_MAIN(TstLogSchema)
#include "tst_logschema.moc"
