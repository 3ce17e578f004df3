// "corvane.conf": the [ftps] keys, relative paths, and values in the wrong form.
#include "config/sidesettings.h"
#include "fakes/filebytes.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class TstSideSettings : public QObject
{
    Q_OBJECT
private slots:
    void readsFtpsKeys_data();
    void readsFtpsKeys();
    void missingFileIsNoProblem();
    void readsNoaaUpload_data();
    void readsNoaaUpload();
};

void TstSideSettings::readsFtpsKeys_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("caFile"); // relative to the file's folder
    QTest::addColumn<QString>("pinnedKey");
    QTest::addColumn<QString>("problem"); // empty: none
    const QByteArray pin = "sha256//" + QByteArray(32, '\x5a').toBase64();
    const QByteArray other = "sha256//" + QByteArray(32, '\x01').toBase64();
    QTest::newRow("relative CA file")
        << QByteArray("[ftps]\nca_file=certs/ca.pem\n") << "certs/ca.pem"
        << ""
        << "";
    QTest::newRow("CA file name with a comma")
        << QByteArray("[ftps]\nca_file=certs/a,b.pem\n") << "certs/a,b.pem"
        << ""
        << "";
    QTest::newRow("CA file missing") << QByteArray("[ftps]\nca_file=gone.pem\n") << "gone.pem"
                                     << ""
                                     << "ca_file";
    QTest::newRow("two pins") << "[ftps]\npinned_key=" + pin + ", " + other + "\n"
                              << "" << QString(pin + ";" + other) << "";
    QTest::newRow("two pins quoted as curl writes them")
        << "[ftps]\npinned_key=\"" + pin + ";" + other + "\"\n"
        << "" << QString(pin + ";" + other) << "";
    QTest::newRow("pin without its form is kept, and named")
        << QByteArray("[ftps]\npinned_key=AB:CD:EF\n") << ""
        << "AB:CD:EF"
        << "pinned_key";
    QTest::newRow("pin of the wrong length")
        << "[ftps]\npinned_key=sha256//" + QByteArray(20, 'x').toBase64() + "\n"
        << "" << QString("sha256//" + QByteArray(20, 'x').toBase64()) << "pinned_key";
    QTest::newRow("other sections are not read")
        << "[sftp]\npinned_key=" + pin + "\nca_file=x.pem\n"
        << ""
        << ""
        << "";
}

void TstSideSettings::readsFtpsKeys()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, caFile);
    QFETCH(QString, pinnedKey);
    QFETCH(QString, problem);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("certs"));
    writeBytes(dir.filePath("certs/ca.pem"), "-----BEGIN CERTIFICATE-----\n");
    writeBytes(dir.filePath("certs/a,b.pem"), "-----BEGIN CERTIFICATE-----\n");
    writeBytes(dir.filePath("corvane.conf"), text);

    const SideSettings s = readSideSettings(dir.filePath("corvane.conf"));
    QCOMPARE(s.ftps.caFile, caFile.isEmpty() ? QString() : dir.filePath(caFile));
    QCOMPARE(s.ftps.pinnedKey, pinnedKey);
    if (problem.isEmpty()) {
        QCOMPARE(s.problems, QStringList());
    } else {
        QCOMPARE(s.problems.size(), 1);
        QVERIFY2(s.problems.at(0).contains(problem), qPrintable(s.problems.at(0)));
    }
}

void TstSideSettings::missingFileIsNoProblem()
{
    QTemporaryDir dir;
    const SideSettings s = readSideSettings(dir.filePath("corvane.conf"));
    QVERIFY(s.ftps.caFile.isEmpty() && s.ftps.pinnedKey.isEmpty());
    QVERIFY(s.problems.isEmpty());
}

void TstSideSettings::readsNoaaUpload_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("upload");
    QTest::addColumn<bool>("problem");
    QTest::newRow("on") << QByteArray("[noaa]\nupload=true\n") << true << false;
    QTest::newRow("on as 1") << QByteArray("[noaa]\nupload=1\n") << true << false;
    QTest::newRow("off") << QByteArray("[noaa]\nupload=false\n") << false << false;
    QTest::newRow("not given") << QByteArray("[ftps]\n") << false << false;
    QTest::newRow("another section's key") << QByteArray("[ftps]\nupload=true\n") << false << false;
    QTest::newRow("neither") << QByteArray("[noaa]\nupload=often\n") << false << true;
}

void TstSideSettings::readsNoaaUpload()
{
    QFETCH(QByteArray, text);
    QTemporaryDir dir;
    writeBytes(dir.filePath("corvane.conf"), text);
    const SideSettings s = readSideSettings(dir.filePath("corvane.conf"));
    QTEST(s.noaa.upload, "upload");
    QTEST(!s.problems.isEmpty(), "problem");
}

QTEST_GUILESS_MAIN(TstSideSettings)
#include "tst_sidesettings.moc"
