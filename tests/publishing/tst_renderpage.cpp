// Page files: byte-exact 8-bit text, the CR LF ending, delete-first and failed writes.
#include "fakes/filebytes.h"
#include "publishing/renderpage.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

class TestRenderPage : public QObject
{
    Q_OBJECT
private slots:
    void writesExpandedTemplate_data();
    void writesExpandedTemplate();
    void missingOrRefusedTemplateGivesEmptyPage_data();
    void missingOrRefusedTemplateGivesEmptyPage();
    void unwritableOutput_data();
    void unwritableOutput();
    void outputInMissingFolder();
    void pageIsReadableByAllUnderAnyUmask_data();
    void pageIsReadableByAllUnderAnyUmask();
};

void TestRenderPage::writesExpandedTemplate_data()
{
    QTest::addColumn<QByteArray>("templ");
    QTest::addColumn<QByteArray>("page");
    QTest::newRow("no tokens") << QByteArray("<html>\nplain\r\n</html>")
                               << QByteArray("<html>\nplain\r\n</html>\r\n");
    QTest::newRow("empty") << QByteArray() << QByteArray("\r\n");
    QTest::newRow("8-bit bytes pass") << QByteArray("caf\xe9 \xb0\xff*TPO*\x80")
                                      << QByteArray("caf\xe9 \xb0\xff"
                                                    "72\x80\r\n");
    QTest::newRow("back to back") << QByteArray("*TPO**TPI*") << QByteArray("7268\r\n");
    QTest::newRow("lone CR kept") << QByteArray("a\rb\n") << QByteArray("a\rb\n\r\n");
}

void TestRenderPage::writesExpandedTemplate()
{
    QFETCH(QByteArray, templ);
    QFETCH(QByteArray, page);
    QTemporaryDir dir;
    const QString in = dir.filePath("page.tpl");
    const QString out = dir.filePath("page.html");
    writeBytes(in, templ);
    writeBytes(out, "old page that is longer than the new one");
    const RenderResult r = RenderPage(in, out, false, {{"*TPO*", "72"}, {"*TPI*", "68"}});
    QVERIFY(r.written);
    QVERIFY(r.templateRead);
    QCOMPARE(readBytes(out), page);
}

void TestRenderPage::missingOrRefusedTemplateGivesEmptyPage_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("why");
    QTest::newRow("missing") << "missing"
                             << "No such file or directory";
    QTest::newRow("FIFO without a writer") << "fifo"
                                           << "not a regular file";
    QTest::newRow("over 16 MiB") << "big"
                                 << "larger than 16 MiB";
}

void TestRenderPage::missingOrRefusedTemplateGivesEmptyPage()
{
    QFETCH(QString, kind);
    QFETCH(QString, why);
    QTemporaryDir dir;
    const QString in = dir.filePath("page.tpl");
    const QString out = dir.filePath("page.html");
    if (kind == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(in).constData(), 0600), 0);
    if (kind == "big") {
        QFile f(in);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.resize((qint64(16) << 20) + 1));
    }
    alarm(20); // a read that blocks ends the test instead of hanging it
    const RenderResult r = RenderPage(in, out, true, {{"*TPO*", "72"}});
    alarm(0);
    QVERIFY(r.written);
    QVERIFY(!r.templateRead);
    QCOMPARE(r.templateError, in + ": " + why);
    QCOMPARE(readBytes(out), QByteArray("\r\n"));
}

void TestRenderPage::unwritableOutput_data()
{
    QTest::addColumn<bool>("deleteFirst");
    QTest::addColumn<QByteArray>("left");
    // Page 1 deletes the old page first, so nothing is left to upload; page 2 keeps it whole.
    QTest::newRow("delete first") << true << QByteArray("<none>");
    QTest::newRow("keep earlier") << false << QByteArray("earlier page, still whole");
}

void TestRenderPage::unwritableOutput()
{
    QFETCH(bool, deleteFirst);
    QFETCH(QByteArray, left);
    QTemporaryDir dir;
    const QString in = dir.filePath("page.tpl");
    writeBytes(in, QByteArray(4096, 'x') + "*TPO*");
    const QString out = dir.filePath("page.html");
    writeBytes(out, "earlier page, still whole");

    // A file size limit makes the write fail part way, whoever runs the test.
    struct rlimit old
    {
    };
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 1024;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const RenderResult r = RenderPage(in, out, deleteFirst, {{"*TPO*", "72"}});
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(!r.written);
    QVERIFY(!r.error.isEmpty());
    QCOMPARE(readBytes(out), left);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), deleteFirst ? 1 : 2); // no leftovers
}

void TestRenderPage::outputInMissingFolder()
{
    QTemporaryDir dir;
    const QString blocked = dir.filePath("blocked");
    writeBytes(blocked, "a file, not a folder");
    const RenderResult r = RenderPage(dir.filePath("none.tpl"), blocked + "/page.html", true, {});
    QVERIFY(!r.written);
    QVERIFY(!r.error.isEmpty());
    QCOMPARE(readBytes(blocked), QByteArray("a file, not a folder"));
}

void TestRenderPage::pageIsReadableByAllUnderAnyUmask_data()
{
    QTest::addColumn<uint>("umask");
    QTest::addColumn<bool>("earlierPrivate");
    QTest::newRow("umask 000") << 0000u << false;
    QTest::newRow("umask 077") << 0077u << false;
    QTest::newRow("earlier page private") << 0022u << true;
}

void TestRenderPage::pageIsReadableByAllUnderAnyUmask()
{
    QFETCH(uint, umask);
    QFETCH(bool, earlierPrivate);
    QTemporaryDir dir;
    const QString out = dir.filePath("page.html");
    if (earlierPrivate) {
        writeBytes(out, "earlier");
        QVERIFY(QFile::setPermissions(out, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    }
    const mode_t old = ::umask(mode_t(umask));
    const RenderResult r = RenderPage(dir.filePath("none.tpl"), out, false, {});
    ::umask(old);
    QVERIFY(r.written);
    struct stat st = {};
    QCOMPARE(::stat(QFile::encodeName(out).constData(), &st), 0);
    QCOMPARE(uint(st.st_mode & 07777), 0644u);
}

QTEST_GUILESS_MAIN(TestRenderPage)
#include "tst_renderpage.moc"
