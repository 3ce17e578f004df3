// Checking a template without uploading: readings from Field=Text lines, one expansion.
#include "acquisition/readingsrecord.h"
#include "fakes/manualclock.h"
#include "publishing/templatepreview.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class TestTemplatePreview : public QObject
{
    Q_OBJECT
private slots:
    void readsFieldLines_data();
    void readsFieldLines();
    void previewsPage_data();
    void previewsPage();
    void refusesFilesThatAreNoPage_data();
    void refusesFilesThatAreNoPage();
};

void TestTemplatePreview::readsFieldLines_data()
{
    QTest::addColumn<QString>("lines");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("warnings");
    const auto row = [](const char *name, const char *lines, const char *field, const char *text,
                        int warnings) {
        QTest::newRow(name) << QString(lines) << QString(field) << QString(text) << warnings;
    };
    row("plain", "OutdoorTemperature=72.5\n", "OutdoorTemperature", "72.5", 0);
    row("CR LF lines", "HeatIndex=N/A\r\nRainTotal=1.5\r\n", "HeatIndex", "N/A", 0);
    row("equals sign in text", "StationForecast=a=b", "StationForecast", "a=b", 0);
    row("empty text", "RainRate=\n", "RainRate", "", 0);
    row("main window box", "WindChillWhole=45", "WindChillWhole", "45", 0);
    row("name of an earlier version", "Wx.Text17=45", "WindChillWhole", "45", 0);
    row("unknown field", "Bogus=1\nGustSpeed=3\n", "GustSpeed", "3", 1);
    row("no equals sign", "just words\n\nGustSpeed=3", "GustSpeed", "3", 1);
}

void TestTemplatePreview::readsFieldLines()
{
    QFETCH(QString, lines);
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(int, warnings);
    ReadingsRecord record;
    const QStringList w = readReadingsLines(lines, record);
    QCOMPARE(w.size(), warnings);
    QVERIFY(record.has(field));
    QCOMPARE(record.text(field), text);
}

void TestTemplatePreview::previewsPage_data()
{
    QTest::addColumn<QByteArray>("templ");
    QTest::addColumn<QByteArray>("readings");
    QTest::addColumn<QByteArray>("page");
    QTest::newRow("compass words from directions")
        << QByteArray("*CWDA*/*AWDA* *CWD* *TPO*")
        << QByteArray("GustDirection=23\nAverageDirection=337\nOutdoorTemperature= 70 \n")
        << QByteArray("NorthEast/North 23 70\r\n");
    QTest::newRow("no forecast, clock time")
        << QByteArray("[*SWX*] *D/T* *GMT*") << QByteArray()
        << QByteArray("[] 1/15/2026 12:00:00 PM Thu, 15 Jan 2026 12:00:00 GMT\r\n");
    QTest::newRow("8-bit bytes pass")
        << QByteArray("\xe9\xff") << QByteArray() << QByteArray("\xe9\xff\r\n");
}

void TestTemplatePreview::previewsPage()
{
    QFETCH(QByteArray, templ);
    QFETCH(QByteArray, readings);
    QFETCH(QByteArray, page);
    QTemporaryDir dir;
    writeBytes(dir.filePath("t.tpl"), templ);
    writeBytes(dir.filePath("r.txt"), readings);
    ManualClock clock(QDateTime(QDate(2026, 1, 15), QTime(12, 0), QTimeZone::utc()));
    QByteArray out;
    const auto collect = [&out](QByteArrayView piece) {
        out += piece;
        return true;
    };
    const PreviewResult r =
        previewTemplate(dir.filePath("t.tpl"), dir.filePath("r.txt"), clock, collect);
    QCOMPARE(r.error, QString());
    QCOMPARE(out, page);

    out.clear();
    QVERIFY(!previewTemplate(dir.filePath("none.tpl"), QString(), clock, collect).error.isEmpty());
    QVERIFY(!previewTemplate(dir.filePath("t.tpl"), dir.filePath("none.txt"), clock, collect)
                 .error.isEmpty());
    QCOMPARE(out, QByteArray()); // nothing of a page whose files cannot be read
}

void TestTemplatePreview::refusesFilesThatAreNoPage_data()
{
    QTest::addColumn<QString>("templ"); // a path, or what to make as "t.tpl"
    QTest::addColumn<QString>("readings");
    QTest::addColumn<QString>("why");
    QTest::newRow("endless device") << "/dev/zero" << QString() << "/dev/zero: not a regular file";
    QTest::newRow("template FIFO without a writer") << "fifo" << QString() << "not a regular file";
    QTest::newRow("template over 16 MiB") << "big" << QString() << "larger than 16 MiB";
    QTest::newRow("readings FIFO") << "page"
                                   << "fifo"
                                   << "not a regular file";
}

void TestTemplatePreview::refusesFilesThatAreNoPage()
{
    QFETCH(QString, templ);
    QFETCH(QString, readings);
    QFETCH(QString, why);
    QTemporaryDir dir;
    const QString templPath = templ.startsWith('/') ? templ : dir.filePath("t.tpl");
    const QString readingsPath = readings.isEmpty() ? QString() : dir.filePath("r.txt");
    if (templ == "page")
        writeBytes(templPath, "*TPO*");
    if (templ == "big") {
        QFile f(templPath);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.resize((qint64(16) << 20) + 1));
    }
    for (const QString &path : {templ == "fifo" ? templPath : QString(), readingsPath}) {
        if (!path.isEmpty())
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    }
    ManualClock clock(QDateTime(QDate(2026, 1, 15), QTime(12, 0), QTimeZone::utc()));
    QByteArray out;
    alarm(20); // a read that blocks ends the test instead of hanging it
    const PreviewResult r = previewTemplate(templPath, readingsPath, clock, [&](QByteArrayView p) {
        out += p;
        return true;
    });
    alarm(0);
    QVERIFY2(r.error.contains(readings.isEmpty() ? templPath : readingsPath), qPrintable(r.error));
    QVERIFY2(r.error.endsWith(why), qPrintable(r.error));
    QCOMPARE(out, QByteArray());
}

QTEST_GUILESS_MAIN(TestTemplatePreview)
#include "tst_templatepreview.moc"
