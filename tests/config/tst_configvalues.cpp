// Reading single values with sequential-input rules, and converting them where applied.
#include "config/configfile.h"
#include "config/variantvalue.h"

#include <QtTest>

class TstConfigValues : public QObject
{
    Q_OBJECT
private slots:
    void readsFieldsLikeSequentialInput_data();
    void readsFieldsLikeSequentialInput();
    void unconvertibleValuesLeaveTheTarget_data();
    void unconvertibleValuesLeaveTheTarget();
    void comparesNumerically_data();
    void comparesNumerically();
};

void TstConfigValues::readsFieldsLikeSequentialInput_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("index");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("leading blanks skipped") << QByteArray("  \t 42\r\n") << 0 << QVariant(42);
    QTest::newRow("blanks kept inside quotes")
        << QByteArray("  \" a \"\r\n") << 0 << QVariant(" a ");
    QTest::newRow("comma ends an unquoted field")
        << QByteArray("3,4\r\n\"x\"\r\n") << 1 << QVariant(4);
    QTest::newRow("comma shifts later lines")
        << QByteArray("3,4\r\n\"x\"\r\n") << 2 << QVariant("x");
    QTest::newRow("comma kept inside quotes") << QByteArray("\"a,b\"\r\n") << 0 << QVariant("a,b");
    QTest::newRow("comma after a quote") << QByteArray("\"a\",7\r\n") << 1 << QVariant(7);
    QTest::newRow("junk after a quote dropped")
        << QByteArray("\"a\"zz\r\n5\r\n") << 1 << QVariant(5);
    QTest::newRow("empty line is empty") << QByteArray("1\r\n\r\n2\r\n") << 1 << QVariant();
    QTest::newRow("blank line is empty") << QByteArray("1\r\n   \r\n2\r\n") << 2 << QVariant(2);
    QTest::newRow("quoted empty is text") << QByteArray("\"\"\r\n") << 0 << QVariant(QString(""));
    QTest::newRow("bare number is a number") << QByteArray("0123\r\n") << 0 << QVariant(123);
    QTest::newRow("quoted number stays text")
        << QByteArray("\"0123\"\r\n") << 0 << QVariant("0123");
    QTest::newRow("negative") << QByteArray("-1\r\n") << 0 << QVariant(-1);
    QTest::newRow("fraction") << QByteArray("2.50 \r\n") << 0 << QVariant(2.5);
    QTest::newRow("beyond 32 bits") << QByteArray("5000000000\r\n") << 0 << QVariant(5000000000LL);
    QTest::newRow("bare text") << QByteArray("12ab\r\n") << 0 << QVariant("12ab");
    QTest::newRow("infinite is text") << QByteArray("1e999\r\n") << 0 << QVariant("1e999");
    QTest::newRow("date and time") << QByteArray("#2026-01-15 06:30:00#\r\n") << 0
                                   << QVariant(QDateTime(QDate(2026, 1, 15), QTime(6, 30)));
    QTest::newRow("date alone is midnight") << QByteArray("#2026-01-15#\r\n") << 0
                                            << QVariant(QDateTime(QDate(2026, 1, 15), QTime(0, 0)));
    QTest::newRow("no such date is text")
        << QByteArray("#2026-02-30#\r\n") << 0 << QVariant("#2026-02-30#");
    QTest::newRow("LF line ends") << QByteArray("1\n2\n") << 1 << QVariant(2);
    QTest::newRow("CR line ends") << QByteArray("1\r2\r") << 1 << QVariant(2);
    QTest::newRow("latin-1 byte") << QByteArray("\"\xe9t\xe9\"\r\n") << 0
                                  << QVariant(QStringLiteral("\u00e9t\u00e9"));
}

void TstConfigValues::readsFieldsLikeSequentialInput()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, index);
    QFETCH(QVariant, expected);
    const ConfigValues values = parseConfigValues(bytes);
    QVERIFY(index < values.size());
    QCOMPARE(values.at(index).typeId(), expected.typeId());
    QCOMPARE(values.at(index), expected);
}

void TstConfigValues::unconvertibleValuesLeaveTheTarget_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("converts");
    QTest::addColumn<int>("expected"); // the field afterwards, starting from 15 (or true)
    // index 8 UploadInterval, 18 LoggingInterval, 0 StationPort, 9 AutoDisconnect
    QTest::newRow("letters in upload interval") << 8 << QVariant("abc") << false << 15;
    QTest::newRow("numeric text") << 8 << QVariant(" 20 ") << true << 20;
    QTest::newRow("overflow") << 8 << QVariant(70000) << false << 15;
    QTest::newRow("half rounds to even") << 8 << QVariant(2.5) << true << 2;
    QTest::newRow("empty is zero") << 8 << QVariant() << true << 0;
    QTest::newRow("quoted logging interval") << 18 << QVariant("30") << true << 30;
    QTest::newRow("letters in logging interval") << 18 << QVariant("x") << false << 15;
    QTest::newRow("date in station port")
        << 0 << QVariant(QDateTime(QDate(2026, 1, 1), QTime())) << false << 15;
    QTest::newRow("nonzero is true") << 9 << QVariant(5) << true << 1;
    QTest::newRow("zero is false") << 9 << QVariant("0") << true << 0;
    QTest::newRow("letters keep the check box") << 9 << QVariant("yes") << false << 1;
}

void TstConfigValues::unconvertibleValuesLeaveTheTarget()
{
    QFETCH(int, index);
    QFETCH(QVariant, value);
    QFETCH(bool, converts);
    QFETCH(int, expected);
    Configuration c;
    c.StationPort = c.UploadInterval = c.LoggingInterval = 15;
    c.AutoDisconnect = true;
    ConfigValues values = configValues(c);
    values[index] = value;
    const int applied = applyConfigValues(values.mid(0, index + 1), c);
    QCOMPARE(applied == index + 1, converts);
    QCOMPARE(configValues(c).at(index).toInt(), expected);
}

void TstConfigValues::comparesNumerically_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<double>("number");
    QTest::addColumn<bool>("equal");
    QTest::newRow("int") << QVariant(1) << 1.0 << true;
    QTest::newRow("numeric text") << QVariant(" 01 ") << 1.0 << true;
    QTest::newRow("double") << QVariant(3.0) << 3.0 << true;
    QTest::newRow("empty is zero") << QVariant() << 0.0 << true;
    QTest::newRow("empty is not one") << QVariant() << 1.0 << false;
    QTest::newRow("text is not zero") << QVariant("abc") << 0.0 << false;
    QTest::newRow("empty text is not zero") << QVariant(QString("")) << 0.0 << false;
    QTest::newRow("date is not a number")
        << QVariant(QDateTime(QDate(2026, 1, 1), QTime())) << 0.0 << false;
}

void TstConfigValues::comparesNumerically()
{
    QFETCH(QVariant, value);
    QFETCH(double, number);
    QFETCH(bool, equal);
    QCOMPARE(variantEquals(value, number), equal);
}

QTEST_GUILESS_MAIN(TstConfigValues)
#include "tst_configvalues.moc"
