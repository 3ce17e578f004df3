// Modem replies found across reads, and a line that never stops talking.
#include "paging/replymatcher.h"

#include <QtTest>

class TestReplyMatcher : public QObject
{
    Q_OBJECT
private slots:
    void foundAtTheRightRead_data();
    void foundAtTheRightRead();
    void endlessNoiseStaysBounded();
};

using Pieces = QList<QByteArray>;

void TestReplyMatcher::foundAtTheRightRead_data()
{
    QTest::addColumn<Pieces>("replies");
    QTest::addColumn<Pieces>("reads");
    QTest::addColumn<int>("foundAt"); // index of the read that completes a reply, -1 for none

    QTest::newRow("whole") << Pieces{"OK"} << Pieces{"AT\r\r\nOK\r\n"} << 0;
    QTest::newRow("split in two") << Pieces{"OK"} << Pieces{"\r\nO", "K\r\n"} << 1;
    QTest::newRow("split in three")
        << Pieces{"CONNECT"} << Pieces{"CON", "N", "ECT 9600"} << 2;
    QTest::newRow("second of two replies")
        << Pieces{"ID=", "NO CARRIER"} << Pieces{"NO CAR", "RIER"} << 1;
    QTest::newRow("never") << Pieces{"OK"} << Pieces{"O", "O", "k"} << -1;
    QTest::newRow("a prefix repeated") << Pieces{"ID="} << Pieces{"IIIII", "IID", "="} << 2;
}

void TestReplyMatcher::foundAtTheRightRead()
{
    QFETCH(Pieces, replies);
    QFETCH(Pieces, reads);
    QFETCH(int, foundAt);
    ReplyMatcher m;
    m.expect(replies);
    int at = -1;
    for (int i = 0; i < reads.size() && at < 0; ++i) {
        if (m.feed(reads.at(i)))
            at = i;
    }
    QCOMPARE(at, foundAt);
}

void TestReplyMatcher::endlessNoiseStaysBounded()
{
    ReplyMatcher m;
    m.expect({"CONNECT"});
    const QByteArray noise(4096, 'x');
    for (int i = 0; i < 4096; ++i) // 16 MiB of chatter
        QVERIFY(!m.feed(noise));
    QCOMPARE(m.progress().size(), ReplyMatcher::ProgressLimit);
    QVERIFY(m.feed("CONN") == false && m.feed("ECT"));
    QVERIFY(m.progress().endsWith("xCONNECT"));
}

QTEST_APPLESS_MAIN(TestReplyMatcher)
#include "tst_replymatcher.moc"
