// Template expansion against the plain scan loop, and the guard against values holding tokens.
#include "publishing/templateexpander.h"
#include "scanloop.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

// A small language in which tokens share letters, so that joins across replaced tokens
// form new tokens: "*TP" + value "" + "O*" reads "*TPO*".
TokenValues smallLanguage(QRandomGenerator &rng, bool shortValues)
{
    // "*HWD*" is a part of "*HWDT*", listed before it.
    const char *tokens[] = {"*D/T*",  "*TPO*",  "*TPI*", "*HWD*", "*SWX*",
                            "*TIHF*", "*HWDT*", "*OTP*", "*GMT*"};
    const char *longValues[] = {"", "72.5", "NorthEast", "1/15/2026 12:00:00 PM", "N/A", "x"};
    const char *joinValues[] = {"", "T", "P", "O", "TP", "PO", "I", "D/"};
    TokenValues values;
    for (const char *t : tokens) {
        const char *v = shortValues ? joinValues[rng.bounded(int(std::size(joinValues)))]
                                    : longValues[rng.bounded(int(std::size(longValues)))];
        values.append({QString::fromLatin1(t), QString::fromLatin1(v)});
    }
    return values;
}

QString randomTemplate(QRandomGenerator &rng, const TokenValues &values, int pieces)
{
    const char *noise[] = {"*",  "**", "*TP", "O*",   "* TPO*", "*tpo*", "*XYZ*", "TP",  "O",
                           "D/", "T*", "<p>", "\r\n", "a",      "*TPO",  "TPO*",  "*T*", "I*"};
    QString text;
    for (int i = 0; i < pieces; ++i) {
        if (rng.bounded(2) == 0)
            text += values.at(rng.bounded(int(values.size()))).token;
        else
            text += QString::fromLatin1(noise[rng.bounded(int(std::size(noise)))]);
    }
    return text;
}

} // namespace

class TestTemplateExpander : public QObject
{
    Q_OBJECT
private slots:
    void matchesScanLoop_data();
    void matchesScanLoop();
    void generatedTemplatesMatchScanLoop_data();
    void generatedTemplatesMatchScanLoop();
    void valuesHoldingTokensAreInsertedAsTheyStand_data();
    void valuesHoldingTokensAreInsertedAsTheyStand();
    void malformedTokensInTheListAreIgnored();
};

void TestTemplateExpander::matchesScanLoop_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *name, const char *text, const char *expected) {
        QTest::newRow(name) << QString(text) << QString(expected);
    };
    // Language: *TPO* = 72, *TPI* = 68, *SWX* = "" (in scan order).
    row("three occurrences", "*TPO*,*TPO*,*TPO*", "72,72,72");
    row("back to back", "*TPO**TPI*", "7268");
    row("at both ends", "*TPI* mid *TPO*", "68 mid 72");
    row("lower case stays", "*tpo*", "*tpo*");
    row("space after asterisk stays", "* TPO*", "* TPO*");
    row("unknown marker stays", "*XYZ*", "*XYZ*");
    row("empty value removes token", "a*SWX*b", "ab");
    row("no tokens", "plain <b>text</b>\r\n", "plain <b>text</b>\r\n");
    row("empty", "", "");
    // Tokens sharing an asterisk: the earlier token in scan order wins it.
    row("shared asterisk, earlier first", "*TPO*TPI*", "72TPI*");
    row("shared asterisk, earlier second", "*TPI*TPO*", "*TPI72");
    // A replacement that joins its neighbours into a token.
    row("join forms token", "*TP*SWX*O*", "72");
}

void TestTemplateExpander::matchesScanLoop()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const TokenValues values{{"*TPO*", "72"}, {"*TPI*", "68"}, {"*SWX*", ""}};
    QCOMPARE(scanLoopExpand(text, values), expected);
    QCOMPARE(ExpandTemplateText(text, values), expected);
}

void TestTemplateExpander::generatedTemplatesMatchScanLoop_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<bool>("shortValues");
    QTest::addColumn<int>("pieces");
    for (quint32 seed = 1; seed <= 40; ++seed) {
        const bool shortValues = seed % 2 == 0;
        QTest::addRow("seed %u %s", seed, shortValues ? "joining values" : "page values")
            << seed << shortValues << int(5 + seed * 3);
    }
}

void TestTemplateExpander::generatedTemplatesMatchScanLoop()
{
    QFETCH(quint32, seed);
    QFETCH(bool, shortValues);
    QFETCH(int, pieces);
    QRandomGenerator rng(seed);
    // Many templates per row: the differences hide in rare arrangements.
    for (int round = 0; round < 200; ++round) {
        const TokenValues values = smallLanguage(rng, shortValues);
        const QString text = randomTemplate(rng, values, pieces);
        const QString expected = scanLoopExpand(text, values);
        const QString actual = ExpandTemplateText(text, values);
        if (actual != expected)
            QFAIL(qPrintable(QStringLiteral("template \"%1\": expected \"%2\", got \"%3\"")
                                 .arg(text, expected, actual)));
    }
}

void TestTemplateExpander::valuesHoldingTokensAreInsertedAsTheyStand_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("tpoValue");
    QTest::addColumn<QString>("expected");
    QTest::newRow("own token") << "a*TPO*b"
                               << "x*TPO*y"
                               << "ax*TPO*yb";
    QTest::newRow("other token") << "*TPO*"
                                 << "*TPI*"
                                 << "*TPI*";
    QTest::newRow("half a token") << "*TPO*TPI*"
                                  << "*"
                                  << "*TPI*";
    QTest::newRow("twice") << "*TPO**TPO*"
                           << "*TPO*"
                           << "*TPO**TPO*";
}

void TestTemplateExpander::valuesHoldingTokensAreInsertedAsTheyStand()
{
    QFETCH(QString, text);
    QFETCH(QString, tpoValue);
    QFETCH(QString, expected);
    const TokenValues values{{"*TPO*", tpoValue}, {"*TPI*", "68"}};
    QCOMPARE(ExpandTemplateText(text, values), expected);
}

void TestTemplateExpander::malformedTokensInTheListAreIgnored()
{
    const TokenValues values{{"TPO", "bad"}, {"*A*B*", "bad"}, {"**", "bad"}, {"*TPO*", "72"}};
    QCOMPARE(ExpandTemplateText("TPO *A*B* ** *TPO*", values), QStringLiteral("TPO *A*B* ** 72"));
}

QTEST_GUILESS_MAIN(TestTemplateExpander)
#include "tst_templateexpander.moc"
