// The archive's fields show the settings given and give back what was typed; they are greyed
// while the archive is off, and a save leaves the password readable by its owner only.
#include "ui/archivesettingsbox.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

class TstArchiveSettingsBox : public QObject
{
    Q_OBJECT
private slots:
    void fieldsRoundTripAndSave();
};

void TstArchiveSettingsBox::fieldsRoundTripAndSave()
{
    ArchiveSettingsBox box;
    ArchiveSettings s;
    s.enabled = true;
    s.host = QStringLiteral("db.club.example");
    s.port = 6432;
    s.password = QStringLiteral("p,w;\"x\"");
    s.station = QStringLiteral("Hilltop");
    s.sslmode = QStringLiteral("verify-full");
    box.setSettings(s);
    QCOMPARE(box.settings(), s);

    auto *host = box.findChild<QLineEdit *>(QStringLiteral("archiveHost"));
    auto *enabled = box.findChild<QCheckBox *>(QStringLiteral("archiveEnabled"));
    QVERIFY(host && enabled && box.findChild<QSpinBox *>(QStringLiteral("archivePort")));
    QVERIFY(host->isEnabled());
    enabled->setChecked(false);
    QVERIFY(!host->isEnabled());
    host->setText(QStringLiteral("  other.example "));
    s.enabled = false;
    s.host = QStringLiteral("other.example");
    QCOMPARE(box.settings(), s);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("corvane.conf"));
    {
        QSettings other(path, QSettings::IniFormat);
        other.setValue(QStringLiteral("ftps/ca_file"), QStringLiteral("myca.pem"));
    }
    QCOMPARE(saveArchiveSettings(path, box.settings()), QString());
    QCOMPARE(QFile::permissions(path) & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
    QSettings back(path, QSettings::IniFormat);
    QCOMPARE(readArchiveSettings(back), s);
    QCOMPARE(back.value(QStringLiteral("ftps/ca_file")).toString(), QStringLiteral("myca.pem"));
}

QTEST_MAIN(TstArchiveSettingsBox)
#include "tst_archivesettingsbox.moc"
