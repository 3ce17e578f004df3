// The configuration file must read back exactly what was written, and must never be
// written in a form that reads back differently.
#include "config/configfile.h"

#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(Configuration)

namespace {

const QString typicalFile = QStringLiteral(CORVANE_TEST_DATA "/config/typical.cfg");

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Line `number` (1-59) of a file's bytes.
QByteArray line(const QByteArray &bytes, int number)
{
    return bytes.split('\n').value(number - 1).chopped(1);
}

// Every field set, each to a value of its own.
Configuration everyField()
{
    Configuration c;
    c.StationPort = 8;
    c.RemoteHost = "host";
    c.RemotePort = "2121";
    c.UserName = "user";
    c.Password = "pass, with comma";
    c.UploadPath = "/up";
    c.TemplateFile1 = "t1.htm";
    c.OutputFile1 = "o1.htm";
    c.UploadInterval = -3;
    c.AutoDisconnect = true;
    c.NwsRemoteHost = "nws";
    c.NwsDownloadPath = "/fc";
    c.NwsStartKey = "#start#";
    c.NwsEndKey = "12";
    c.HourlyPageTemplate = "h.txt";
    c.TemplateFile2 = "t2.htm";
    c.OutputFile2 = "o2.htm";
    c.UploadPath2 = "/up2";
    c.LoggingInterval = 32767;
    c.DisplayUnits = 1;
    c.DailyPageTemplate = "d.txt";
    for (int r = 0; r < 5; ++r) {
        PagerRow &p = c.Pagers[r];
        p.PagerNumber = QStringLiteral("0%1").arg(r);
        p.CompanyNumber = QStringLiteral("555-010%1").arg(r);
        p.Enabled = r % 2;
        p.PageType = r + 3;
        p.AlarmType = r - 1;
        p.AlarmSetting = QStringLiteral("%1.5").arg(r);
    }
    c.PagerPort = 4;
    c.FtpPort = 5;
    c.Graph = {0,
               1,
               QStringLiteral("Header"),
               QStringLiteral("/g"),
               QDateTime(QDate(2025, 12, 31), QTime(23, 59, 58)),
               1};
    return c;
}

} // namespace

class TstConfigFile : public QObject
{
    Q_OBJECT
private slots:
    void referenceFileReadsAndRewritesIdentically();
    void roundTripKeepsAllValues_data();
    void roundTripKeepsAllValues();
    void writesEachKindInItsForm_data();
    void writesEachKindInItsForm();
    void refusesValuesThatWouldShiftTheFile_data();
    void refusesValuesThatWouldShiftTheFile();
    void missingShortAndGarbledFilesLoadWhatTheyCan_data();
    void missingShortAndGarbledFilesLoadWhatTheyCan();
    void fileIsOwnerOnly();
    void noticesNameTheFile_data();
    void noticesNameTheFile();

private:
    QTemporaryDir m_dir;
};

void TstConfigFile::referenceFileReadsAndRewritesIdentically()
{
    const ConfigLoadResult loaded = loadConfiguration(typicalFile);
    QVERIFY(loaded.fileExisted);
    QCOMPARE(loaded.valuesRead, 59);
    const Configuration &c = loaded.config;
    QCOMPARE(c.StationPort, qint16(2));
    QCOMPARE(c.Password, QStringLiteral("s3cret pass"));
    QCOMPARE(c.UploadInterval, qint16(10));
    QCOMPARE(c.AutoDisconnect, true);
    QCOMPARE(c.LoggingInterval, qint16(15));
    QCOMPARE(c.Pagers[1].PagerNumber, QVariant(QStringLiteral(" 0042 ")));
    QCOMPARE(c.Pagers[1].PageType, QVariant(3));
    QCOMPARE(c.Pagers[2].AlarmType, QVariant(-1));
    QVERIFY(!c.Pagers[3].Enabled.isValid());
    QVERIFY(!c.FtpPort.isValid());
    QCOMPARE(c.Graph[GraphHeader], QVariant(QStringLiteral("  Station Caf\u00e9  ")));
    QCOMPARE(c.Graph[GraphUploadTime], QVariant(QDateTime(QDate(2026, 1, 15), QTime(6, 30))));

    const QString out = m_dir.filePath("rewrite.cfg");
    QVERIFY(saveConfiguration(out, c).ok());
    QCOMPARE(readAll(out), readAll(typicalFile));
}

void TstConfigFile::roundTripKeepsAllValues_data()
{
    QTest::addColumn<Configuration>("config");
    QTest::newRow("defaults") << Configuration();
    QTest::newRow("every field") << everyField();
    Configuration midnight = everyField();
    midnight.Graph[GraphUploadTime] = QDateTime(QDate(2026, 2, 1), QTime(0, 0));
    QTest::newRow("graph time at midnight") << midnight;
    Configuration untrimmed = everyField();
    untrimmed.RemoteHost = "  host\t";
    untrimmed.Pagers[2].AlarmSetting = QStringLiteral("  72 ");
    QTest::newRow("blanks around texts") << untrimmed;
    Configuration kinds = everyField();
    kinds.Pagers[0].Enabled = true;
    kinds.Pagers[1].PageType = qlonglong(1) << 40;
    kinds.Pagers[2].AlarmType = 2.0;
    kinds.Graph[GraphUploadTime] = QTime(7, 5, 9, 500);
    kinds.Graph[GraphHeader] = QVariant();
    QTest::newRow("variants of other kinds") << kinds;
}

void TstConfigFile::roundTripKeepsAllValues()
{
    QFETCH(Configuration, config);
    const QString path = m_dir.filePath("roundtrip.cfg");
    QVERIFY(saveConfiguration(path, config).ok());
    const ConfigLoadResult first = loadConfiguration(path);
    QCOMPARE(first.valuesRead, 59);
    QVERIFY(sameConfiguration(first.config, configurationAsSaved(config)));

    const QByteArray bytes = readAll(path);
    QVERIFY(saveConfiguration(path, first.config).ok());
    QCOMPARE(readAll(path), bytes);
}

void TstConfigFile::writesEachKindInItsForm_data()
{
    QTest::addColumn<int>("fieldIndex");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QByteArray>("expectedLine");
    // fieldIndex counts from 0 in file order; the line is fieldIndex + 1.
    QTest::newRow("single text trimmed")
        << 1 << QVariant("  ftp.x.net  ") << QByteArray("\"ftp.x.net\"");
    QTest::newRow("pager number as typed") << 21 << QVariant(" 555 ") << QByteArray("\" 555 \"");
    QTest::newRow("graph header as typed") << 55 << QVariant(" Hdr ") << QByteArray("\" Hdr \"");
    QTest::newRow("logging interval quoted") << 18 << QVariant(10) << QByteArray("\"10\"");
    QTest::newRow("upload interval bare") << 8 << QVariant(-5) << QByteArray("-5");
    QTest::newRow("auto disconnect") << 9 << QVariant(true) << QByteArray("1");
    QTest::newRow("nothing chosen") << 24 << QVariant(-1) << QByteArray("-1");
    QTest::newRow("port never set") << 51 << QVariant() << QByteArray();
    QTest::newRow("port as held") << 52 << QVariant(3) << QByteArray("3");
    QTest::newRow("graph time midnight")
        << 57 << QVariant(QDateTime(QDate(2026, 3, 9), QTime(0, 0))) << QByteArray("#2026-03-09#");
    QTest::newRow("graph time") << 57 << QVariant(QDateTime(QDate(2026, 3, 9), QTime(6, 5, 4)))
                                << QByteArray("#2026-03-09 06:05:04#");
    QTest::newRow("time alone") << 57 << QVariant(QTime(7, 5))
                                << QByteArray("#1899-12-30 07:05:00#");
    QTest::newRow("boolean variant") << 58 << QVariant(true) << QByteArray("1");
    QTest::newRow("fraction") << 58 << QVariant(2.5) << QByteArray("2.5");
    QTest::newRow("integral double") << 58 << QVariant(3.0) << QByteArray("3.0");
    QTest::newRow("latin-1 text") << 56 << QVariant(QStringLiteral("\u00b0C"))
                                  << QByteArray("\"\xb0"
                                                "C\"");
}

void TstConfigFile::writesEachKindInItsForm()
{
    QFETCH(int, fieldIndex);
    QFETCH(QVariant, value);
    QFETCH(QByteArray, expectedLine);
    ConfigValues values = configValues(Configuration());
    values[fieldIndex] = value;
    Configuration c;
    applyConfigValues(values, c);
    if (fieldIndex == 18) // applying converts the quoted interval text to its number
        QCOMPARE(c.LoggingInterval, qint16(value.toInt()));
    const ConfigFormatResult f = formatConfiguration(c);
    QVERIFY2(f.ok(), qPrintable(f.error));
    QCOMPARE(f.bytes.count("\r\n"), 59);
    QCOMPARE(line(f.bytes, fieldIndex + 1), expectedLine);
}

void TstConfigFile::refusesValuesThatWouldShiftTheFile_data()
{
    QTest::addColumn<int>("fieldIndex");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("field");
    QTest::newRow("quote in start key") << 12 << QVariant("<a href=\"x\">") << "NwsStartKey";
    QTest::newRow("quote in pager setting") << 38 << QVariant("7\"") << "Pagers[2].AlarmSetting";
    QTest::newRow("line break in header") << 55 << QVariant("a\r\nb") << "Graph[2].GraphHeader";
    QTest::newRow("bare LF in password") << 4 << QVariant("a\nb") << "Password";
    QTest::newRow("outside latin-1") << 3 << QVariant(QStringLiteral("\u20ac")) << "UserName";
    QTest::newRow("no such type") << 53 << QVariant(QStringList{"a"}) << "Graph[0].GraphStyle";
    QTest::newRow("invalid date") << 57 << QVariant(QDateTime()) << "Graph[4].GraphUploadTime";
}

void TstConfigFile::refusesValuesThatWouldShiftTheFile()
{
    QFETCH(int, fieldIndex);
    QFETCH(QVariant, value);
    QFETCH(QString, field);
    const QString path = m_dir.filePath("refused.cfg");
    QFile::remove(path);
    QFile::copy(typicalFile, path);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    ConfigValues values = loadConfiguration(path).values;
    values[fieldIndex] = value;
    Configuration c;
    applyConfigValues(values, c);
    const ConfigSaveResult r = saveConfiguration(path, c);
    QVERIFY(!r.ok());
    QCOMPARE(r.field, field);
    QVERIFY2(r.error.contains(field), qPrintable(r.error));
    QCOMPARE(readAll(path), readAll(typicalFile));
}

void TstConfigFile::missingShortAndGarbledFilesLoadWhatTheyCan_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<int>("valuesRead");
    QTest::addColumn<qint16>("stationPort");
    QTest::addColumn<qint16>("uploadInterval");
    const QByteArray typical = readAll(typicalFile);
    QTest::newRow("missing") << QByteArray() << false << 0 << qint16(0) << qint16(0);
    QTest::newRow("empty") << QByteArray() << true << 0 << qint16(0) << qint16(0);
    QTest::newRow("short") << typical.left(typical.indexOf("\"/home/wx/wx.htm\"")) << true << 7
                           << qint16(2) << qint16(0);
    QTest::newRow("no final line end")
        << QByteArray("5\r\nh\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n12") << true << 9
        << qint16(5) << qint16(12);
    QTest::newRow("letters in the interval")
        << QByteArray("3\n\n\n\n\n\n\n\nten\n") << true << 9 << qint16(3) << qint16(0);
    const char junk[] = "\x00\xff\"\x01,#\r\r\n#12:99#,\"\x7f";
    QTest::newRow("binary junk") << QByteArray(junk, sizeof junk - 1) << true << 5 << qint16(0)
                                 << qint16(0);
    QTest::newRow("unclosed quote")
        << QByteArray("\"4\r\n7\r\n") << true << 2 << qint16(4) << qint16(0);
    QTest::newRow("garbage after the last value")
        << typical + QByteArray(5000, ',') << true << 59 << qint16(2) << qint16(10);
}

void TstConfigFile::missingShortAndGarbledFilesLoadWhatTheyCan()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, exists);
    QFETCH(int, valuesRead);
    QFETCH(qint16, stationPort);
    QFETCH(qint16, uploadInterval);
    const QString path = m_dir.filePath("partial.cfg");
    QFile::remove(path);
    if (exists)
        writeAll(path, bytes);
    const ConfigLoadResult r = loadConfiguration(path);
    QCOMPARE(r.fileExisted, exists);
    QCOMPARE(r.valuesRead, valuesRead);
    QCOMPARE(r.config.StationPort, stationPort);
    QCOMPARE(r.config.UploadInterval, uploadInterval);
    // Whatever was read survives a write and a read.
    QVERIFY(saveConfiguration(path, r.config).ok());
    QVERIFY(sameConfiguration(loadConfiguration(path).config, configurationAsSaved(r.config)));
}

void TstConfigFile::fileIsOwnerOnly()
{
    const QString path = m_dir.filePath("perm.cfg");
    writeAll(path, "old");
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                    QFileDevice::ReadGroup | QFileDevice::ReadOther);
    const mode_t oldUmask = ::umask(0);
    const bool saved = saveConfiguration(path, everyField()).ok();
    ::umask(oldUmask);
    QVERIFY(saved);
    struct stat st
    {
    };
    QCOMPARE(stat(QFile::encodeName(path).constData(), &st), 0);
    QCOMPARE(st.st_mode & 0777, mode_t(0600));
    QVERIFY(sameConfiguration(loadConfiguration(path).config, everyField()));
}

void TstConfigFile::noticesNameTheFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");   // a file of that mode, or what else is there
    QTest::addColumn<QString>("notice"); // %1: the path, %2: the path as a shell word
    QTest::addColumn<int>("valuesRead");
    const QString readable = QStringLiteral("%1 is readable by other users, and it holds the FTP "
                                            "password: chmod 600 %2 makes it private");
    QTest::newRow("owner only") << "Corvane.cfg"
                                << "0600" << QString() << 59;
    QTest::newRow("group can read") << "Corvane.cfg"
                                    << "0640" << readable << 59;
    QTest::newRow("everyone can read") << "Corvane.cfg"
                                       << "0644" << readable << 59;
    QTest::newRow("name to quote") << "it's mine.cfg"
                                   << "0604" << readable << 59;
    QTest::newRow("FIFO without a writer")
        << "Corvane.cfg"
        << "fifo" << QStringLiteral("%1: not a regular file") << 0;
    QTest::newRow("folder") << "Corvane.cfg"
                            << "folder" << QStringLiteral("%1: not a regular file") << 0;
    QTest::newRow("over 1 MiB") << "Corvane.cfg"
                                << "big" << QStringLiteral("%1: larger than 1 MiB") << 0;
}

void TstConfigFile::noticesNameTheFile()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, notice);
    QFETCH(int, valuesRead);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (kind == "fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind == "folder") {
        QVERIFY(QDir().mkdir(path));
    } else {
        const QByteArray typical = readAll(typicalFile);
        writeAll(path, kind == "big" ? typical + QByteArray((1 << 20) + 1 - typical.size(), ' ')
                                     : typical);
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), kind.toUInt(nullptr, 8)), 0);
    }
    alarm(20); // a read that blocks ends the test instead of hanging it
    const ConfigLoadResult r = loadConfiguration(path);
    alarm(0);
    const QString quoted =
        name.contains(' ') ? "'" + dir.filePath("it'\\''s mine.cfg") + "'" : path;
    QCOMPARE(r.notices, notice.isEmpty() ? QStringList() : QStringList{notice.arg(path, quoted)});
    QCOMPARE(r.valuesRead, valuesRead);
    QVERIFY(r.fileExisted);
}

QTEST_GUILESS_MAIN(TstConfigFile)
#include "tst_configfile.moc"
