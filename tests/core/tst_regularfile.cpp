// Reading a file the user named: regular files only, never more than the limit, never blocking.
#include "core/regularfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

class TestRegularFile : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void readsWithinTheLimit_data();
    void readsWithinTheLimit();
    void refusesWhatIsNoRegularFile_data();
    void refusesWhatIsNoRegularFile();
};

void TestRegularFile::init()
{
    // A read that blocks (a FIFO without a writer) ends the test program instead of hanging.
    alarm(20);
}

void TestRegularFile::cleanup()
{
    alarm(0);
}

void TestRegularFile::readsWithinTheLimit_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("ok");
    QTest::newRow("empty") << 0 << true;
    QTest::newRow("at the limit") << 4096 << true;
    QTest::newRow("one byte over") << 4097 << false;
    QTest::newRow("far over") << 100000 << false;
}

void TestRegularFile::readsWithinTheLimit()
{
    QFETCH(int, size);
    QFETCH(bool, ok);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Ports.cfg"));
    QByteArray bytes(size, 'x');
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i * 7);
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    QVERIFY(f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                             QFileDevice::ReadGroup));

    const RegularFileRead r = readRegularFile(path, 4096);
    QCOMPARE(r.ok(), ok);
    QCOMPARE(r.bytes, ok ? bytes : QByteArray());
    if (ok)
        QCOMPARE(r.mode, 0640u);
    else
        QCOMPARE(r.error, path + QStringLiteral(": larger than 4096 bytes"));
}

void TestRegularFile::refusesWhatIsNoRegularFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("why");
    QTest::newRow("FIFO without a writer") << "fifo"
                                           << "not a regular file";
    QTest::newRow("endless device") << "/dev/zero"
                                    << "not a regular file";
    QTest::newRow("folder") << "folder"
                            << "not a regular file";
    QTest::newRow("missing") << "missing"
                             << "No such file or directory";
}

void TestRegularFile::refusesWhatIsNoRegularFile()
{
    QFETCH(QString, kind);
    QFETCH(QString, why);
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("Corvane.cfg"));
    if (kind == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(path));
    else if (kind.startsWith(QLatin1Char('/')))
        path = kind;

    const RegularFileRead r = readRegularFile(path, qint64(1) << 30);
    QVERIFY(!r.ok());
    QCOMPARE(r.bytes, QByteArray());
    QCOMPARE(r.error, path + QStringLiteral(": ") + why);
    QCOMPARE(r.missing, kind == QLatin1String("missing"));
}

QTEST_GUILESS_MAIN(TestRegularFile)
#include "tst_regularfile.moc"
