// What a message turns into on the modem line.
#include "paging/pagetext.h"

#include <QtTest>

class TestPageText : public QObject
{
    Q_OBJECT
private slots:
    void lineText_data();
    void lineText();
};

void TestPageText::lineText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("line");

    QTest::newRow("plain") << "Temp 41.2 F" << QByteArray("Temp 41.2 F");
    QTest::newRow("CR LF is one blank") << "Temp 41\r\nWind 12\r\n"
                                        << QByteArray("Temp 41 Wind 12 ");
    QTest::newRow("lone CR and LF") << "a\rb\nc\n\rd" << QByteArray("a b c  d");
    QTest::newRow("tab") << "a\tb" << QByteArray("a b");
    QTest::newRow("degree sign") << QString::fromUtf8("20\u00b0C") << QByteArray("20?C");
    QTest::newRow("other control characters") << QString::fromLatin1("a\x1b"
                                                                     "b\x7f"
                                                                     "c")
                                              << QByteArray("a?b?c");
    QTest::newRow("one character beyond 16 bits")
        << QString::fromUtf8("x\U0001F327y") << QByteArray("x?y");
    QTest::newRow("empty") << QString() << QByteArray();
}

void TestPageText::lineText()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, line);
    QCOMPARE(pageLineText(text), line);
}

QTEST_GUILESS_MAIN(TestPageText)
#include "tst_pagetext.moc"
