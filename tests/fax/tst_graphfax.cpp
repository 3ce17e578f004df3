// The modem shared by pager and fax: when a graph fax has to wait for a page.
#include "fax/graphfax.h"

#include <QTemporaryDir>
#include <QtTest>

class TestGraphFax : public QObject
{
    Q_OBJECT
private slots:
    void pagerHoldsModem_data()
    {
        QTest::addColumn<QString>("fax");
        QTest::addColumn<QString>("pager");
        QTest::addColumn<bool>("paging");
        QTest::addColumn<bool>("refused");
        QTest::newRow("same device, paging") << "ttyS1"
                                             << "ttyS1" << true << true;
        QTest::newRow("alias of the pager's device") << "modem"
                                                     << "ttyS1" << true << true;
        QTest::newRow("same device, pager idle") << "ttyS1"
                                                 << "ttyS1" << false << false;
        QTest::newRow("other device") << "ttyUSB0"
                                      << "ttyS1" << true << false;
        QTest::newRow("fax device not found yet") << ""
                                                  << "ttyS1" << true << false;
        QTest::newRow("pager never used") << "ttyS1"
                                          << "" << true << false;
    }
    void pagerHoldsModem()
    {
        QFETCH(QString, fax);
        QFETCH(QString, pager);
        QFETCH(bool, paging);
        QFETCH(bool, refused);
        // Stand-in devices: a file and a link to it, as udev makes aliases.
        QTemporaryDir dir;
        QFile device(dir.filePath("ttyS1"));
        QVERIFY(device.open(QIODevice::WriteOnly));
        QVERIFY(QFile::link(dir.filePath("ttyS1"), dir.filePath("modem")));
        const auto path = [&dir](const QString &name) {
            return name.isEmpty() ? QString() : dir.filePath(name);
        };
        const QString why = ::pagerHoldsModem(path(fax), path(pager), paging);
        QCOMPARE(!why.isEmpty(), refused);
        if (refused)
            QVERIFY2(why.contains(path(fax)), qPrintable(why));
    }
};

QTEST_GUILESS_MAIN(TestGraphFax)
#include "tst_graphfax.moc"
