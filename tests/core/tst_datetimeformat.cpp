// Stored date texts must be the fixed U.S. forms whatever the locale.
#include "core/datetimeformat.h"

#include <QtTest>

class TstDateTimeFormat : public QObject
{
    Q_OBJECT
private slots:
    void generalDate_data();
    void generalDate();
    void parseRoundTrip();
};

void TstDateTimeFormat::generalDate_data()
{
    QTest::addColumn<QDateTime>("dt");
    QTest::addColumn<QString>("text");
    QTest::newRow("afternoon") << QDateTime(QDate(2026, 7, 4), QTime(14, 5, 9)) << "7/4/2026 2:05:09 PM";
    QTest::newRow("just after midnight") << QDateTime(QDate(2026, 1, 2), QTime(0, 0, 1)) << "1/2/2026 12:00:01 AM";
    QTest::newRow("noon") << QDateTime(QDate(2026, 12, 25), QTime(12, 0)) << "12/25/2026 12:00:00 PM";
    QTest::newRow("midnight is the date alone") << QDateTime(QDate(2026, 3, 9), QTime(0, 0)) << "3/9/2026";
}

void TstDateTimeFormat::generalDate()
{
    QFETCH(QDateTime, dt);
    QFETCH(QString, text);
    QCOMPARE(::generalDate(dt), text);
}

void TstDateTimeFormat::parseRoundTrip()
{
    for (const QDateTime &dt : {QDateTime(QDate(2026, 7, 4), QTime(14, 5, 9)),
                                QDateTime(QDate(2026, 1, 2), QTime(0, 0, 1)),
                                QDateTime(QDate(2026, 3, 9), QTime(0, 0)),
                                QDateTime(QDate(2026, 11, 30), QTime(12, 59, 59))})
        QCOMPARE(parseGeneralDate(::generalDate(dt)), dt);
    QVERIFY(!parseGeneralDate(QStringLiteral("13/40/2026")).isValid());
    QVERIFY(!parseGeneralDate(QStringLiteral("garbage")).isValid());
}

QTEST_GUILESS_MAIN(TstDateTimeFormat)
#include "tst_datetimeformat.moc"
