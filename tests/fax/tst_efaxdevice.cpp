// Sending through efax: the command line, the fax log's course, and what is refused. A stand-in
// efax on PATH records its arguments and ends with the status it is told.
#include "acquisition/pseudoterminal.h"
#include "acquisition/serialport.h"
#include "fakes/manualclock.h"
#include "fax/efaxdevice.h"
#include "fax/faxdocument.h"
#include "simulator/faxmodemsimulator.h"

#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(FaxLogName)

namespace {

QStringList fileLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    lines.removeAll(QString());
    return lines;
}

} // namespace

class TestEfaxDevice : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void send_data();
    void send();
    void refused_data();
    void refused();
    void deletingEntries();

private:
    std::unique_ptr<EfaxDevice> makeDevice(const QString &program = QStringLiteral("efax"));

    QTemporaryDir m_dir;
    PseudoTerminal m_pty;
    std::unique_ptr<FaxModemSimulator> m_modem;
    ManualClock m_clock;
    QString m_argsFile;
    QString m_document;
};

void TestEfaxDevice::initTestCase()
{
    QVERIFY(m_dir.isValid());
    qputenv("PATH", QByteArray(CORVANE_FAKE_EFAX_DIR) + ':' + qgetenv("PATH"));
    m_argsFile = m_dir.filePath("efax-args");
    qputenv("FAKE_EFAX_ARGS", QFile::encodeName(m_argsFile));
    QVERIFY(m_pty.open());
    m_modem = std::make_unique<FaxModemSimulator>(m_pty.masterFd());
    m_document = m_dir.filePath(FaxDocumentName);
}

void TestEfaxDevice::init()
{
    QFile::remove(m_argsFile);
    QFile::remove(m_dir.filePath(FaxLogFileName));
    QFile doc(m_document);
    QVERIFY(doc.open(QIODevice::WriteOnly));
    doc.write("a fax document");
}

std::unique_ptr<EfaxDevice> TestEfaxDevice::makeDevice(const QString &program)
{
    const QString slave = m_pty.slavePath();
    return std::make_unique<EfaxDevice>(EfaxWiring{m_dir.path(),
                                                   [slave] { return QStringList{slave}; },
                                                   [] { return createSerialPort(); }, program},
                                        m_clock);
}

void TestEfaxDevice::send_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("dialled");
    QTest::addColumn<FaxLogName>("log");
    QTest::addColumn<int>("exitStatus");
    QTest::addColumn<QString>("message");
    QTest::newRow("sent") << "efax"
                          << "555-1234" << 0 << "T5551234" << FaxLogName::Completed << 0
                          << "efax: done, returning 0";
    QTest::newRow("modem protocol error") << "efax"
                                          << "(555) 987 65" << 3 << "T55598765"
                                          << FaxLogName::Failed << 3 << "efax: done, returning 3";
    QTest::newRow("efax missing") << "corvane-no-such-efax"
                                  << "5551234" << 0 << QString() << FaxLogName::Failed << -1
                                  << "efax could not be started";
}

void TestEfaxDevice::send()
{
    QFETCH(QString, program);
    QFETCH(QString, number);
    QFETCH(int, status);
    QFETCH(QString, dialled);
    QFETCH(FaxLogName, log);
    QFETCH(int, exitStatus);
    QFETCH(QString, message);
    qputenv("FAKE_EFAX_STATUS", QByteArray::number(status));
    auto fax = makeDevice(program);
    QSignalSpy detected(fax.get(), &FaxDevice::detectionFinished);
    QSignalSpy finished(fax.get(), &FaxDevice::sendFinished);
    QSignalSpy statusTexts(fax.get(), &FaxDevice::statusChanged);

    fax->setFaxNumber(number);
    fax->setFaxFiles(m_document);
    QVERIFY(fax->SendFax().ok());
    // Nothing detected yet: the fax waits as pending while the modems are found.
    QCOMPARE(fax->log().count(FaxLogName::Pending), 1);
    QVERIFY(detected.wait(5000));
    QCOMPARE(statusTexts.size(), 2);
    QCOMPARE(statusTexts[0][0].toString(), QStringLiteral("Configuring...Please Wait"));
    QCOMPARE(statusTexts[1][0].toString(), QString());
    if (program == "efax") {
        const QList<FaxLogEntry> sending = fax->log().entries(FaxLogName::Sending);
        QCOMPARE(sending.size(), 1);
        QCOMPARE(sending[0].device, m_pty.slavePath());
    }
    QVERIFY(finished.count() == 1 || finished.wait(10000));

    QCOMPARE(finished[0][0].toBool(), log == FaxLogName::Completed);
    const QList<FaxLogEntry> entries = fax->log().entries(log);
    QCOMPARE(entries.size(), 1);
    QCOMPARE(fax->log().count(FaxLogName::Pending) + fax->log().count(FaxLogName::Sending), 0);
    QCOMPARE(entries[0].exitStatus, exitStatus);
    QVERIFY2(entries[0].message.startsWith(message), qPrintable(entries[0].message));
    QVERIFY(entries[0].finished.isValid());
    if (!dialled.isEmpty())
        QCOMPARE(fileLines(m_argsFile),
                 QStringList({"-d", m_pty.slavePath(), "-t", dialled, m_document}));
}

void TestEfaxDevice::refused_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("document");
    QTest::newRow("empty number") << "" << true;
    QTest::newRow("only separators") << " - " << true;
    QTest::newRow("modem command in the number") << "555;ATH" << true;
    QTest::newRow("line break in the number") << "555\rATZ" << true;
    QTest::newRow("no document") << "5551234" << false;
}

void TestEfaxDevice::refused()
{
    QFETCH(QString, number);
    QFETCH(bool, document);
    if (!document)
        QFile::remove(m_document);
    auto fax = makeDevice();
    QSignalSpy finished(fax.get(), &FaxDevice::sendFinished);
    fax->setFaxNumber(number);
    fax->setFaxFiles(m_document);
    QVERIFY(!fax->SendFax().ok());
    QVERIFY(!fax->isSending());
    QVERIFY(!fax->isDetecting());
    QCOMPARE(fax->log().count(FaxLogName::Pending), 0);
    QCOMPARE(finished.count(), 0);
    QVERIFY(!QFile::exists(m_argsFile));
}

void TestEfaxDevice::deletingEntries()
{
    FaxLog log(m_dir.filePath(FaxLogFileName));
    QList<qint64> ids;
    for (const char *number : {"1", "2", "3", "4"}) {
        FaxLogEntry e;
        e.number = QString::fromLatin1(number);
        QVERIFY(log.add(e).ok());
        ids << e.id;
    }
    QVERIFY(log.move(ids[3], FaxLogName::Failed, {}).ok());

    QVERIFY(log.deleteEntry(FaxLogName::Pending, 1).ok());
    QStringList left;
    for (const FaxLogEntry &e : log.entries(FaxLogName::Pending))
        left << e.number;
    QCOMPARE(left, QStringList({"1", "3"}));
    QVERIFY(!log.deleteEntry(FaxLogName::Pending, 2).ok());

    QVERIFY(log.deleteLog(FaxLogName::Pending).ok());
    QCOMPARE(log.count(FaxLogName::Pending), 0);
    QCOMPARE(log.count(FaxLogName::Failed), 1); // other logs are untouched
    QCOMPARE(log.count(FaxLogName::Received), 0);
}

QTEST_GUILESS_MAIN(TestEfaxDevice)
#include "tst_efaxdevice.moc"
