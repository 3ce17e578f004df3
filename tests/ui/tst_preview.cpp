// The page preview: the configured page offered first, short names closing the window,
// a chosen page shown, and one preview at a time.
#include "wxfixture.h"

#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

class TstPreview : public QObject
{
    Q_OBJECT
private slots:
    void chosenName_data();
    void chosenName();
    void relativeOutputFileIsOfferedInProgramDirectory();
    void choosingTwiceShowsOnePreview();
};

void TstPreview::chosenName_data()
{
    QTest::addColumn<QString>("chosen"); // "@": the page written by the test; "|": a FIFO
    QTest::addColumn<bool>("shown");
    QTest::newRow("cancelled") << QString() << false;
    QTest::newRow("5 characters") << QString("a.htm") << false;
    QTest::newRow("drive and name, 5") << QString("c:\\ab") << false;
    QTest::newRow("6 characters") << QString("ab.htm") << true;
    QTest::newRow("the page") << QString("@") << true;
    QTest::newRow("a FIFO named like a page") << QString("|") << true;
}

void TstPreview::chosenName()
{
    QFETCH(QString, chosen);
    QFETCH(bool, shown);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString page = dir.filePath("index.htm");
    QFile file(page);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<html><body><p>Outdoor 72.5</p></body></html>");
    file.close();
    if (chosen == "@")
        chosen = page;
    if (chosen == "|") {
        chosen = dir.filePath("fifo.htm");
        QCOMPARE(::mkfifo(QFile::encodeName(chosen).constData(), 0600), 0);
    }
    alarm(20); // a read that blocks ends the test instead of hanging it

    WxFixture f;
    f.config.OutputFile1 = page;
    QString offered;
    f.wx->setPreviewFileChooser([&](QWidget *, const QString &preset) {
        offered = preset;
        return chosen;
    });
    f.trigger("m_preview");
    QCOMPARE(offered, page);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(f.wx->preview() != nullptr, shown);
    if (!shown)
        return;
    QVERIFY(f.wx->preview()->isVisible());
    QCOMPARE(f.wx->preview()->windowTitle(), QString("Preview"));
    auto *browser = f.wx->preview()->findChild<QTextBrowser *>("WB1");
    QVERIFY(browser);
    QCOMPARE(browser->source(), QUrl::fromLocalFile(QFileInfo(chosen).absoluteFilePath()));
    if (chosen == page)
        QVERIFY(browser->toPlainText().contains("Outdoor 72.5"));
    else if (chosen.endsWith("fifo.htm"))
        QCOMPARE(browser->toPlainText(), chosen + ": not a regular file");
    alarm(0);
}

void TstPreview::relativeOutputFileIsOfferedInProgramDirectory()
{
    QTemporaryDir home;
    QVERIFY(home.isValid());
    qputenv("CORVANE_HOME", home.path().toLocal8Bit());
    WxFixture f;
    f.config.OutputFile1 = "index.htm";
    QString offered;
    f.wx->setPreviewFileChooser([&](QWidget *, const QString &preset) {
        offered = preset;
        return QString();
    });
    f.trigger("m_preview");
    qunsetenv("CORVANE_HOME");
    QCOMPARE(QFileInfo(offered), QFileInfo(QDir(home.path()).filePath("index.htm")));
}

void TstPreview::choosingTwiceShowsOnePreview()
{
    WxFixture f;
    int asked = 0;
    f.wx->setPreviewFileChooser([&](QWidget *, const QString &) {
        ++asked;
        return QString("/tmp/no-such-page.htm");
    });
    f.trigger("m_preview");
    QPointer<Preview> first = f.wx->preview();
    QVERIFY(first);
    f.trigger("m_preview");
    QCOMPARE(f.wx->preview(), first.data());
    QCOMPARE(asked, 1);
    // Once closed, the next command loads it afresh.
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!first);
    f.trigger("m_preview");
    QCOMPARE(asked, 2);
    QVERIFY(f.wx->preview());
}

QTEST_MAIN(TstPreview)
#include "tst_preview.moc"
