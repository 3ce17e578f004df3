// The setup dialog's fax tab: the five logs read from "FaxLog.db", deleting the current entry
// and a whole log, and the fax device window.
#include "fakefaxdevice.h"
#include "fax/faxlog.h"
#include "ui/frmdevices.h"
#include "ui/newsetup.h"

#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

class TstSetupFax : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void showsEachLog();
    void deletes_data();
    void deletes();
    void followsTheFax();
    void faxDevices();

private:
    QStringList shown() const;
    void choose(int log) { m_dialog->findChild<QComboBox *>("Combo1")->setCurrentIndex(log); }
    void press(const char *button) { m_dialog->findChild<QPushButton *>(button)->click(); }

    QTemporaryDir m_dir;
    std::unique_ptr<FaxLog> m_log;
    FakeFaxDevice m_fax;
    std::unique_ptr<NewSetup> m_dialog;
};

// Pending: 1, 2, 3; Failed: 4; nothing elsewhere.
void TstSetupFax::init()
{
    QFile::remove(m_dir.filePath(FaxLogFileName));
    m_log = std::make_unique<FaxLog>(m_dir.filePath(FaxLogFileName));
    for (const char *number : {"1", "2", "3", "4"}) {
        FaxLogEntry e;
        e.number = QString::fromLatin1(number);
        QVERIFY(m_log->add(e).ok());
        if (e.number == "4") {
            e.message = "NO CARRIER";
            QVERIFY(m_log->move(e.id, FaxLogName::Failed, e).ok());
        }
    }
    m_dialog = std::make_unique<NewSetup>();
    m_dialog->load(Configuration());
    m_dialog->attachFax(&m_fax, m_dir.path());
}

QStringList TstSetupFax::shown() const
{
    QStringList out;
    auto *list = m_dialog->findChild<QTreeWidget *>("FaxMan");
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << list->topLevelItem(i)->text(0);
    return out;
}

void TstSetupFax::showsEachLog()
{
    auto *selector = m_dialog->findChild<QComboBox *>("Combo1");
    QCOMPARE(selector->currentIndex(), 0);
    QStringList captions;
    for (int i = 0; i < selector->count(); ++i)
        captions << selector->itemText(i);
    QCOMPARE(captions, QStringList({"Pending", "Sending", "Completed", "Failed", "Received"}));
    const QList<QStringList> expected = {{"1", "2", "3"}, {}, {}, {"4"}, {}};
    for (int log = 4; log >= 0; --log) {
        choose(log);
        QCOMPARE(shown(), expected[log]);
    }
    for (const char *tool : {"Command3", "Command4", "Command5"})
        QVERIFY(m_dialog->findChild<QPushButton *>(tool)->isEnabled());

    NewSetup bare; // no fax component: the tools do nothing
    QVERIFY(!bare.findChild<QPushButton *>("Command3")->isEnabled());
}

void TstSetupFax::deletes_data()
{
    QTest::addColumn<int>("log");
    QTest::addColumn<int>("current"); // row made current first; -1 leaves it as shown
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("pending");
    QTest::addColumn<int>("failed");
    QTest::newRow("current entry") << 0 << 1 << "Command3" << QStringList{"1", "3"} << 1;
    QTest::newRow("first entry when none chosen")
        << 0 << -1 << "Command3" << QStringList{"2", "3"} << 1;
    QTest::newRow("entire log") << 0 << -1 << "Command4" << QStringList{} << 1;
    QTest::newRow("entry of another log")
        << 3 << -1 << "Command3" << QStringList{"1", "2", "3"} << 0;
    QTest::newRow("empty log") << 2 << -1 << "Command3" << QStringList{"1", "2", "3"} << 1;
}

void TstSetupFax::deletes()
{
    QFETCH(int, log);
    QFETCH(int, current);
    QFETCH(QString, button);
    QFETCH(QStringList, pending);
    QFETCH(int, failed);
    choose(log);
    auto *list = m_dialog->findChild<QTreeWidget *>("FaxMan");
    if (current >= 0)
        list->setCurrentItem(list->topLevelItem(current));
    press(qPrintable(button));
    QStringList left;
    for (const FaxLogEntry &e : m_log->entries(FaxLogName::Pending))
        left << e.number;
    QCOMPARE(left, pending);
    QCOMPARE(m_log->count(FaxLogName::Failed), failed);
    QCOMPARE(shown().size(), m_log->count(FaxLogName(log)));
}

void TstSetupFax::followsTheFax()
{
    choose(int(FaxLogName::Completed));
    QVERIFY(shown().isEmpty());
    const qint64 first = m_log->entries(FaxLogName::Pending).first().id;
    FaxLogEntry done;
    done.finished = QDateTime(QDate(2026, 1, 15), QTime(12, 5));
    done.exitStatus = 0;
    QVERIFY(m_log->move(first, FaxLogName::Completed, done).ok());
    emit m_fax.sendFinished(true, QString());
    QCOMPARE(shown(), QStringList({"1"}));
    auto *list = m_dialog->findChild<QTreeWidget *>("FaxMan");
    QCOMPARE(list->topLevelItem(0)->text(2), QStringLiteral("1/15/2026 12:05:00 PM"));
}

void TstSetupFax::faxDevices()
{
    m_fax.devices = {"Modem A (/dev/ttyS1)"};
    m_dialog->show();
    press("Command5");
    auto *window = m_dialog->findChild<FrmDevices *>("frmDevices");
    QVERIFY(window && window->isVisible());
    QCOMPARE(m_fax.detections, 1);
    m_fax.finishDetection();
    window->accept();
    QTRY_VERIFY(!m_dialog->findChild<FrmDevices *>("frmDevices")); // deleted on closing
    press("Command5");                                             // a new window detects again
    QCOMPARE(m_fax.detections, 2);
}

QTEST_MAIN(TstSetupFax)
#include "tst_setupfax.moc"
