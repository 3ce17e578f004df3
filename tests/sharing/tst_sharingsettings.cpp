// The sharing sections of corvane.conf: read back as written, the rest of the file untouched.
#include "config/sidesettings.h"
#include "sharing/sharingsettings.h"

#include <QTemporaryDir>
#include <QtTest>

class TstSharingSettings : public QObject
{
    Q_OBJECT
private slots:
    void writtenAndReadBackKeepingTheRest();
    void valuesOutOfRangeAreNamed();
};

void TstSharingSettings::writtenAndReadBackKeepingTheRest()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("corvane.conf");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("; corvane.conf\r\n[ftps]\r\n; the CA\r\nca_file=myca.pem\r\n\r\n"
               "[mqtt]\r\n; my broker\r\nhost=old\r\nkeepme=1\r\n\r\n[archive]\r\nurl=x\r\n");
    file.close();

    SharingSettings s;
    s.mqtt.enabled = true;
    s.mqtt.host = QStringLiteral("broker.local");
    s.mqtt.password = QStringLiteral(" a;b, \"c\" \\d é ");
    s.mqtt.station = QStringLiteral("Back yard");
    s.wunderground.enabled = true;
    s.wunderground.password = QStringLiteral("x=y#z");
    s.cwop.callsign = QStringLiteral("EW1234");
    s.cwop.latitude = -33.86882;
    s.cwop.intervalMinutes = 15;
    QCOMPARE(writeSharingSettings(path, s), QString());
    QCOMPARE(QFileInfo(path).permissions() & (QFile::ReadOther | QFile::ReadGroup),
             QFile::Permissions());

    QStringList problems;
    const SharingSettings back = readSharingSettings(path, &problems);
    QCOMPARE(problems, QStringList());
    QCOMPARE(back.mqtt, s.mqtt);
    QCOMPARE(back.wunderground, s.wunderground);
    QCOMPARE(back.pwsweather, s.pwsweather);
    QCOMPARE(back.cwop, s.cwop);

    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    file.close();
    for (const char *kept : {"; corvane.conf\r\n", "; the CA\r\nca_file=myca.pem\r\n",
                             "[mqtt]\r\n; my broker\r\nhost=\"broker.local\"\r\n", "keepme=1\r\n",
                             "[archive]\r\nurl=x\r\n"})
        QVERIFY2(text.contains(QLatin1String(kept)), kept);
    QCOMPARE(text.count("[mqtt]"), 1);
    QCOMPARE(text.count("host="), 1);
    QCOMPARE(readSideSettings(path).ftps.caFile, dir.filePath("myca.pem"));

    // Written again unchanged, the file stays the same.
    QCOMPARE(writeSharingSettings(path, back), QString());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()), text);
}

void TstSharingSettings::valuesOutOfRangeAreNamed()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("corvane.conf");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[cwop]\ninterval_minutes=2\nlatitude=95\n[mqtt]\nport=70000\n");
    file.close();
    QStringList problems;
    const SharingSettings s = readSharingSettings(path, &problems);
    QCOMPARE(s.cwop.intervalMinutes, MinimumCwopMinutes);
    QCOMPARE(s.cwop.latitude, 0.0);
    QCOMPARE(s.mqtt.port, 65535);
    QCOMPARE(problems.size(), 3);
    QVERIFY(problems.join('\n').contains("[cwop] interval_minutes"));
    QVERIFY(!s.mqtt.enabled && !s.cwop.enabled && !s.wunderground.enabled);
}

QTEST_GUILESS_MAIN(TstSharingSettings)
#include "tst_sharingsettings.moc"
