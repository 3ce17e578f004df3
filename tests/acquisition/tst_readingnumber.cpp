// Reading texts back as numbers: what counts as a number, and the rounding each caller asks for.
#include "acquisition/readingnumber.h"

#include <QtTest>

Q_DECLARE_METATYPE(ReadingNumberForm)

class TstReadingNumber : public QObject
{
    Q_OBJECT
private slots:
    void readingNumber_data();
    void readingNumber();
};

void TstReadingNumber::readingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<ReadingNumberForm>("form");
    QTest::addColumn<QVariant>("expected"); // invalid: no number

    const auto as = ReadingNumberForm::AsWritten;
    const auto i = ReadingNumberForm::Int;
    const auto i16 = ReadingNumberForm::Int16;
    const QVariant none;
    const auto row = [](const char *name, const QString &text, ReadingNumberForm form,
                        const QVariant &expected) {
        QTest::newRow(name) << text << form << expected;
    };

    row("whole", "72", as, 72.0);
    row("decimals", "29.92", as, 29.92);
    row("blanks around, sign", "  -3.50 ", as, -3.5);
    row("tab and line end around", "\t45\r\n", as, 45.0);
    row("no-break space around", QStringLiteral("\u00a012.5\u00a0"), as, 12.5);
    row("plus sign", "+5", as, 5.0);
    row("leading zeros", "005.4", as, 5.4);
    row("point first", ".5", as, 0.5);
    row("point last", "5.", as, 5.0);
    row("exponent", "1e3", as, 1000.0);
    row("never received", "", as, none);
    row("only blanks", "   ", as, none);
    row("heat index N/A", "N/A", as, none);
    row("dashes", "---", as, none);
    row("number with a unit", "12.3 MPH", as, none);
    row("decimal comma", "1,5", as, none);
    row("digit grouping", "1,000", as, none);
    row("blank inside", "4 5", as, none);
    row("hexadecimal", "0x10", as, none);
    row("infinity", "inf", as, none);
    row("not a number", "nan", as, none);
    row("too large for a double", "1e999", as, none);

    row("compass: blanks around", " 90 ", i, 90.0);
    row("compass: half down to even", "22.5", i, 22.0);
    row("compass: half up to even", "67.5", i, 68.0);
    row("compass: negative half to even", "-22.5", i, -22.0);
    row("compass: above half", "22.6", i, 23.0);
    row("compass: beyond int", "3e9", i, none);
    row("compass: not a number", "calm", i, none);
    row("log: whole degrees", "225", i16, 225.0);
    row("log: half down to even", "22.5", i16, 22.0);
    row("log: half up to even", "23.5", i16, 24.0);
    row("log: lowest 16-bit", "-32768", i16, -32768.0);
    row("log: rounds past the range", "32767.6", i16, none);
    row("log: out of range", "40000", i16, none);
    row("log: in int, not in 16 bits", "40000", i, 40000.0);
}

void TstReadingNumber::readingNumber()
{
    QFETCH(QString, text);
    QFETCH(ReadingNumberForm, form);
    QFETCH(QVariant, expected);
    const std::optional<double> n = ::readingNumber(text, form);
    QCOMPARE(n.has_value(), expected.isValid());
    if (n)
        QCOMPARE(*n, expected.toDouble());
}

QTEST_GUILESS_MAIN(TstReadingNumber)
#include "tst_readingnumber.moc"
