// The fax files: chart picture, two-colour bitmap, the TIFF class F document as efax reads it,
// and "FaxConfig.cfg".
#include "fakes/manualclock.h"
#include "fax/efaxdevice.h"
#include "fax/faxconfig.h"
#include "fax/faxdocument.h"
#include "fax/graphfax.h"

#include <QImageReader>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <tiffio.h>

namespace {

// A landscape chart whose top tenth is black: turned to portrait, that edge is on the right.
QImage landscapeChart()
{
    QImage chart(1300, 1000, QImage::Format_RGB32);
    chart.fill(Qt::white);
    QPainter p(&chart);
    p.fillRect(0, 0, 1300, 100, Qt::black);
    return chart;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestFaxDocument : public QObject
{
    Q_OBJECT
private slots:
    void init() { QVERIFY(m_dir.isValid()); }
    void chartBecomesClassFPage();
    void failedImportLeavesNoDocument();
    void configWrite_data();
    void configWrite();
    void configRead_data();
    void configRead();

private:
    QTemporaryDir m_dir;
};

void TestFaxDocument::chartBecomesClassFPage()
{
    ManualClock clock;
    EfaxDevice fax(EfaxWiring{m_dir.path(), {}, {}}, clock);
    QVERIFY(prepareGraphFax(fax, landscapeChart(), m_dir.path()).ok());
    QCOMPARE(QImageReader(m_dir.filePath(GraphPictureName)).format(), QByteArray("jpeg"));
    const QImage mono(m_dir.filePath(MonoBitmapName));
    QCOMPARE(mono.format(), QImage::Format_Mono);
    const QString doc = m_dir.filePath(FaxDocumentName);
    QCOMPARE(fax.FaxFiles(), doc);

    TIFF *tif = TIFFOpen(QFile::encodeName(doc).constData(), "r");
    QVERIFY(tif);
    uint16_t compression = 0, unit = 0;
    uint32_t width = 0, length = 0;
    float xres = 0, yres = 0;
    TIFFGetField(tif, TIFFTAG_COMPRESSION, &compression);
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &length);
    TIFFGetField(tif, TIFFTAG_XRESOLUTION, &xres);
    TIFFGetField(tif, TIFFTAG_YRESOLUTION, &yres);
    TIFFGetField(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
    const int pages = TIFFNumberOfDirectories(tif);
    const uint32_t strips = TIFFNumberOfStrips(tif);
    TIFFClose(tif);
    QCOMPARE(compression, uint16_t(COMPRESSION_CCITTFAX3));
    QCOMPARE(width, uint32_t(1728));
    QCOMPARE(length, uint32_t(FaxPage::Length));
    QCOMPARE(unit, uint16_t(RESUNIT_INCH));
    QCOMPARE(xres, 204.0f);
    QCOMPARE(yres, 196.0f);
    QCOMPARE(pages, 1);
    QCOMPARE(strips, uint32_t(1)); // efax reads the first strip only

    // efax's own reader (efix) decodes the page: the black edge is down the right side.
    QProcess efix;
    efix.start(QStringLiteral("efix"), {"-i", "tiffg3", "-o", "pbm", doc});
    QVERIFY2(efix.waitForFinished(30000), "efix (package efax) did not run");
    const QByteArray pbm = efix.readAllStandardOutput();
    QVERIFY2(pbm.startsWith("P4"), efix.readAllStandardError().constData());
    // efix writes the header "P4 WIDTH LENGTH" on one line.
    const qsizetype headerEnd = pbm.indexOf('\n');
    const QList<QByteArray> size = pbm.left(headerEnd).simplified().split(' ');
    QCOMPARE(size.value(1).toInt(), 1728);
    QCOMPARE(size.value(2).toInt(), FaxPage::Length);
    const QByteArray bits = pbm.mid(headerEnd + 1);
    const int rowBytes = 1728 / 8;
    const int middle = FaxPage::Length / 2;
    const QByteArray row = bits.mid(middle * rowBytes, rowBytes);
    QCOMPARE(row.size(), rowBytes);
    QCOMPARE(uchar(row[rowBytes - 8]), uchar(0xff)); // black near the right edge
    QCOMPARE(uchar(row[rowBytes / 2]), uchar(0x00)); // white in the middle
}

void TestFaxDocument::failedImportLeavesNoDocument()
{
    // The last fax's document must not go out again because this one could not be made.
    const QString doc = m_dir.filePath(FaxDocumentName);
    QFile old(doc);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("last fax");
    old.close();
    QFile::remove(m_dir.filePath(GraphPictureName));
    QFile::remove(m_dir.filePath(MonoBitmapName));
    ManualClock clock;
    EfaxDevice fax(EfaxWiring{m_dir.path(), {}, {}}, clock);
    QVERIFY(!prepareGraphFax(fax, QImage(), m_dir.path()).ok()); // no chart, no graph.jpg
    QVERIFY(!QFile::exists(doc));
    QVERIFY(!sendGraphFax(fax, QStringLiteral("5551234")).ok());
}

void TestFaxDocument::configWrite_data()
{
    QTest::addColumn<int>("index"); // -1: none chosen
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("device 2") << 2 << QByteArray("2\r\n");
    QTest::newRow("device 0") << 0 << QByteArray("0\r\n");
    QTest::newRow("none chosen") << -1 << QByteArray("\r\n");
}

void TestFaxDocument::configWrite()
{
    QFETCH(int, index);
    QFETCH(QByteArray, bytes);
    // The file is inside the program directory, not beside it under a glued name.
    const QString path = faxConfigPath(m_dir.path());
    QCOMPARE(path, m_dir.path() + "/FaxConfig.cfg");
    QVERIFY(
        writeFaxConfig(m_dir.path(), index >= 0 ? std::optional<int>(index) : std::nullopt).ok());
    QCOMPARE(fileBytes(path), bytes);
    QVERIFY(!QFile::exists(m_dir.path() + "FaxConfig.cfg"));
}

void TestFaxDocument::configRead_data()
{
    QTest::addColumn<QByteArray>("bytes"); // "missing" for no file
    QTest::addColumn<int>("index");        // -1: nothing read
    QTest::newRow("device 2") << QByteArray("2\r\n") << 2;
    QTest::newRow("empty line reads 0") << QByteArray("\r\n") << 0;
    QTest::newRow("empty file reads 0") << QByteArray() << 0;
    QTest::newRow("first value counts") << QByteArray("3,1\r\n") << 3;
    QTest::newRow("above 3 read as is") << QByteArray("7\r\n") << 7;
    QTest::newRow("no file") << QByteArray("missing") << -1;
}

void TestFaxDocument::configRead()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, index);
    QFile::remove(faxConfigPath(m_dir.path()));
    if (bytes != "missing") {
        QFile f(faxConfigPath(m_dir.path()));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QCOMPARE(readFaxConfig(m_dir.path()).value_or(-1), index);
}

QTEST_MAIN(TestFaxDocument)
#include "tst_faxdocument.moc"
