// docs/tokens.md is made from the token tables and must not drift from them.
#include "acquisition/readingsrecord.h"
#include "publishing/compassword.h"
#include "publishing/pagertemplate.h"
#include "publishing/pagetokens.h"
#include "publishing/templatepreview.h"
#include "publishing/tokenreference.h"

#include <QFile>
#include <QtTest>

namespace {

const QString kDocPath = QStringLiteral(CORVANE_TEST_DATA "/../../docs/tokens.md");

// The examples: readings that `corvane decode` gave for the console capture station.bin, a
// fixed time and a forecast extract.
QString generatedReference()
{
    QFile f(QStringLiteral(CORVANE_TEST_DATA "/publishing/station_english.readings"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    ReadingsRecord record;
    if (!readReadingsLines(QString::fromLatin1(f.readAll()), record).isEmpty())
        return {};
    const QDateTime local(QDate(2026, 1, 20), QTime(15, 4, 5));
    const QDateTime utc(QDate(2026, 1, 20), QTime(20, 4, 5), Qt::UTC);
    const QString forecast = QStringLiteral("Partly cloudy, highs near 45.");
    const TokenValues page = PageTokenValues(
        record, forecast, pageCompassWord(record.text(QStringLiteral("GustDirection"))),
        pageCompassWord(record.text(QStringLiteral("AverageDirection"))), local, utc);
    return tokenReferenceMarkdown(page, PagerTokenValues(record, forecast, local));
}

} // namespace

class TestTokenReference : public QObject
{
    Q_OBJECT
private slots:
    void everyTokenIsDescribed();
    void documentMatchesTables();
};

void TestTokenReference::everyTokenIsDescribed()
{
    for (const QString &token : pageTokenNames()) {
        const TokenMeaning m = pageTokenMeaning(token);
        QVERIFY2(!m.meaning.isEmpty() && !m.form.isEmpty(), qPrintable(token));
    }
    QVERIFY(pageTokenMeaning(QStringLiteral("*tpo*")).meaning.isEmpty());
    QVERIFY(pageTokenMeaning(QStringLiteral("*TXHF*")).meaning.isEmpty());
}

// CORVANE_WRITE_TOKEN_DOC=1 writes the document instead of comparing.
void TestTokenReference::documentMatchesTables()
{
    const QString generated = generatedReference();
    QVERIFY(!generated.isEmpty());
    QCOMPARE(generated.count(QStringLiteral("\n| `*")), pageTokenNames().size());
    QVERIFY(!generated.contains(QStringLiteral("undocumented")));
    if (qEnvironmentVariableIntValue("CORVANE_WRITE_TOKEN_DOC") == 1) {
        QFile out(kDocPath);
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(generated.toUtf8());
        return;
    }
    QFile doc(kDocPath);
    QVERIFY2(doc.open(QIODevice::ReadOnly), "docs/tokens.md is missing");
    QCOMPARE(QString::fromUtf8(doc.readAll()), generated);
}

QTEST_GUILESS_MAIN(TestTokenReference)
#include "tst_tokenreference.moc"
