// Pager report templates: which tokens they know, and how a file becomes a message.
#include "acquisition/readingsrecord.h"
#include "core/datetimeformat.h"
#include "publishing/pagertemplate.h"
#include "publishing/pagetokens.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QDateTime Now(QDate(2026, 7, 24), QTime(15, 28, 3));

QString writeTemplate(const QTemporaryDir &dir, const QByteArray &bytes)
{
    const QString path = dir.filePath(QStringLiteral("hourly.txt"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        return {};
    return path;
}

} // namespace

class TestPagerTemplate : public QObject
{
    Q_OBJECT
private slots:
    void tokenTable();
    void expansion_data();
    void expansion();
    void unreadableTemplate_data();
    void unreadableTemplate();
};

void TestPagerTemplate::tokenTable()
{
    ReadingsRecord readings;
    const TokenValues values = PagerTokenValues(readings, QString(), Now);
    QStringList tokens;
    for (const TokenValue &v : values)
        tokens << v.token;
    QStringList expected = pageTokenNames();
    expected.removeAll(QStringLiteral("*GMT*"));
    QCOMPARE(tokens.size(), 79);
    QCOMPARE(tokens, expected);
}

void TestPagerTemplate::expansion_data()
{
    QTest::addColumn<QByteArray>("templateBytes");
    QTest::addColumn<QStringList>("readings"); // Field=Text
    QTest::addColumn<QString>("forecast");
    QTest::addColumn<QString>("message");

    QTest::newRow("no tokens, line ends kept, none added")
        << QByteArray("Weather report\r\nfrom the station\r\n") << QStringList() << QString()
        << QStringLiteral("Weather report\r\nfrom the station\r\n");
    QTest::newRow("GMT stays as written")
        << QByteArray("at *GMT* *TPO*F") << QStringList{"OutdoorTemperature= 041.2 "} << QString()
        << QStringLiteral("at *GMT* 041.2F");
    QTest::newRow("average word from the record, gust word computed")
        << QByteArray("*AWDA*/*CWDA*")
        << QStringList{"AverageDirectionWord=SouthWest", "GustDirection=337"} << QString()
        << QStringLiteral("SouthWest/North");
    QTest::newRow("gust word at a sector bound")
        << QByteArray("*CWDA*") << QStringList{"GustDirection=23"} << QString()
        << QStringLiteral("NorthEast");
    QTest::newRow("gust word without a reading")
        << QByteArray("[*CWDA*]") << QStringList() << QString() << QStringLiteral("[North]");
    QTest::newRow("forecast trimmed")
        << QByteArray("*SWX*!") << QStringList() << QStringLiteral("  Rain later\r\n")
        << QStringLiteral("Rain later!");
    QTest::newRow("no forecast yet")
        << QByteArray("F:*SWX*.") << QStringList() << QString() << QStringLiteral("F:.");
    QTest::newRow("dewpoint alarm threshold")
        << QByteArray("*DOAH*") << QStringList{"OutdoorDewpointAlarmHigh=0"} << QString()
        << QStringLiteral("0");
    QTest::newRow("date and time")
        << QByteArray("*D/T*") << QStringList() << QString() << generalDate(Now);
    QTest::newRow("a value holding a token is not expanded again")
        << QByteArray("*TPO*|*TPI*")
        << QStringList{"OutdoorTemperature=*TPI*", "IndoorTemperature=70"} << QString()
        << QStringLiteral("*TPI*|70");
    QTest::newRow("8-bit characters pass through") << QByteArray("41\xb0"
                                                                 "F")
                                                   << QStringList() << QString()
                                                   << QString::fromLatin1("41\xb0"
                                                                          "F");
    QTest::newRow("empty template") << QByteArray() << QStringList() << QString() << QString();
}

void TestPagerTemplate::expansion()
{
    QFETCH(QByteArray, templateBytes);
    QFETCH(QStringList, readings);
    QFETCH(QString, forecast);
    QFETCH(QString, message);

    QTemporaryDir dir;
    const QString path = writeTemplate(dir, templateBytes);
    QVERIFY(!path.isEmpty());
    ReadingsRecord record;
    for (const QString &line : std::as_const(readings))
        record.setText(line.section(u'=', 0, 0), line.section(u'=', 1));

    const PagerTemplateResult result =
        ExpandPagerTemplate(path, PagerTokenValues(record, forecast, Now));
    QVERIFY2(result.text.has_value(), qPrintable(result.error));
    QCOMPARE(*result.text, message);
}

void TestPagerTemplate::unreadableTemplate_data()
{
    QTest::addColumn<QString>("name"); // inside a fresh folder; empty: no path configured
    QTest::addColumn<QString>("kind"); // what is made under that name first, if anything

    QTest::newRow("missing file") << QStringLiteral("missing.txt") << QString();
    QTest::newRow("a folder") << QStringLiteral(".") << QString();
    QTest::newRow("no path") << QString() << QString();
    QTest::newRow("a FIFO, no writer") << QStringLiteral("hourly.txt") << QStringLiteral("fifo");
    QTest::newRow("over 16 MiB") << QStringLiteral("hourly.txt") << QStringLiteral("big");
}

void TestPagerTemplate::unreadableTemplate()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString path = name.isEmpty() ? QString() : dir.filePath(name);
    if (kind == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    if (kind == QLatin1String("big")) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.resize((qint64(16) << 20) + 1));
    }
    alarm(20); // a read that blocks ends the test instead of hanging it
    const PagerTemplateResult result =
        ExpandPagerTemplate(path, PagerTokenValues(ReadingsRecord(), QString(), Now));
    alarm(0);
    QVERIFY(!result.text.has_value());
    QVERIFY(!result.error.isEmpty());
    if (!path.isEmpty())
        QVERIFY2(result.error.contains(path), qPrintable(result.error));
}

QTEST_GUILESS_MAIN(TestPagerTemplate)
#include "tst_pagertemplate.moc"
