// Fax modem detection against simulated modems on pseudo-terminals.
#include "acquisition/pseudoterminal.h"
#include "fakes/manualclock.h"
#include "fax/faxmodemprobe.h"
#include "paging/clockdrive.h"
#include "simulator/faxmodemsimulator.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Totals
{
    qint64 written = 0;
    qint64 arrived = 0;
};

// A port that adds what passed through it to the totals, also once the probe has let it go.
class TallyPort final : public SerialPort
{
public:
    explicit TallyPort(Totals &totals) : m_port(createSerialPort()), m_totals(totals)
    {
        connect(m_port.get(), &SerialPort::readyRead, this, &SerialPort::readyRead);
    }
    void setDevicePath(const QString &path) override { m_port->setDevicePath(path); }
    QString devicePath() const override { return m_port->devicePath(); }
    void setSettings(const SerialSettings &s) override { m_port->setSettings(s); }
    bool open() override { return m_port->open(); }
    void close() override
    {
        m_totals.arrived += m_port->bytesAvailable(); // dropped unread, but it did arrive
        m_port->close();
    }
    bool isOpen() const override { return m_port->isOpen(); }
    qint64 bytesAvailable() const override { return m_port->bytesAvailable(); }
    QByteArray read(qint64 maxBytes) override
    {
        const QByteArray data = m_port->read(maxBytes);
        m_totals.arrived += data.size();
        return data;
    }
    qint64 write(const QByteArray &data) override
    {
        const qint64 n = m_port->write(data);
        m_totals.written += qMax<qint64>(0, n);
        return n;
    }
    QString errorString() const override { return m_port->errorString(); }

private:
    std::unique_ptr<SerialPort> m_port;
    Totals &m_totals;
};

struct ModemSetup
{
    QByteArray classes; // empty: answers ERROR
    QByteArray identity;
    bool silent = false;
};

// Modems on pseudo-terminals and a probe over them.
struct Bench
{
    explicit Bench(const QList<ModemSetup> &setups)
    {
        for (const ModemSetup &setup : setups) {
            auto pty = std::make_unique<PseudoTerminal>();
            QVERIFY(pty->open());
            auto modem = std::make_unique<FaxModemSimulator>(pty->masterFd());
            modem->setClasses(setup.classes);
            modem->setIdentity(setup.identity);
            modem->setSilent(setup.silent);
            paths << pty->slavePath();
            ptys.push_back(std::move(pty));
            modems.push_back(std::move(modem));
        }
        QObject::connect(&probe, &FaxModemProbe::finished, &probe,
                         [this](const QList<FaxModem> &m) {
                             found = m;
                             done = true;
                         });
    }

    // Runs the probe to its end; replies arrive at the clock time they were sent.
    bool run(const QStringList &devices, int limit = 4)
    {
        probe.start(devices, limit);
        return driveUntil(
            clock, [this] { return done; },
            [this] {
                qint64 received = 0, replied = 0;
                for (const auto &m : modems) {
                    received += m->bytesReceived();
                    replied += m->bytesWritten();
                }
                qint64 arrived = totals.arrived;
                if (live && live->isOpen())
                    arrived += live->bytesAvailable();
                return received >= totals.written && arrived >= replied;
            },
            60, 250);
    }

    ManualClock clock;
    Totals totals;
    std::vector<std::unique_ptr<PseudoTerminal>> ptys;
    std::vector<std::unique_ptr<FaxModemSimulator>> modems;
    QStringList paths;
    QPointer<TallyPort> live; // the port the probe holds, until it lets it go
    FaxModemProbe probe{clock, [this] {
                            auto port = std::make_unique<TallyPort>(totals);
                            live = port.get();
                            return std::unique_ptr<SerialPort>(std::move(port));
                        }};
    QList<FaxModem> found;
    bool done = false;
};

} // namespace

class TestFaxModemProbe : public QObject
{
    Q_OBJECT
private slots:
    void classAnswers_data();
    void classAnswers();
    void listsFaxModemsOnly();
    void stopsAtTheLimit();
    void candidates_data();
    void candidates();
};

void TestFaxModemProbe::classAnswers_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("fax");
    QTest::newRow("classes 0,1,2") << QByteArray("0,1,2") << true;
    QTest::newRow("class 2.0 only") << QByteArray("0,2.0") << true;
    QTest::newRow("parenthesised") << QByteArray("(0,1,8)") << true;
    QTest::newRow("a range") << QByteArray("0-2") << true;
    QTest::newRow("data and voice") << QByteArray("0,8") << false;
    QTest::newRow("class 10 is not class 1") << QByteArray("10") << false;
    QTest::newRow("nothing") << QByteArray() << false;
}

void TestFaxModemProbe::classAnswers()
{
    QFETCH(QByteArray, answer);
    QFETCH(bool, fax);
    QCOMPARE(offersFaxClass(answer), fax);
}

void TestFaxModemProbe::listsFaxModemsOnly()
{
    Bench bench({{"0,1,2", "Rockwell 33600 Fax"},
                 {"0,8", "Voice only"},
                 {"", "Data only"}, // answers ERROR
                 {"0,1,2", "Dead", true},
                 {"0,2.0", "USR Sportster"}});
    // A device that is not there is passed over too.
    QStringList devices = bench.paths;
    devices.insert(1, QStringLiteral("/dev/corvane-no-such-device"));
    QVERIFY(bench.run(devices));

    QCOMPARE(bench.found.size(), 2);
    QCOMPARE(bench.found[0].description(),
             QStringLiteral("Rockwell 33600 Fax (%1)").arg(bench.paths[0]));
    QCOMPARE(bench.found[1].description(),
             QStringLiteral("USR Sportster (%1)").arg(bench.paths[4]));
    // Only fax modems are asked their name; the silent one got its 3 seconds and no more.
    QCOMPARE(bench.modems[0]->commands(), QStringList({"AT+FCLASS=?", "ATI"}));
    QCOMPARE(bench.modems[1]->commands(), QStringList({"AT+FCLASS=?"}));
    QCOMPARE(bench.modems[3]->commands(), QStringList({"AT+FCLASS=?"}));
    QVERIFY(bench.clock.monotonicMs() >= FaxModemProbe::AnswerMs);
    QVERIFY(bench.clock.monotonicMs() < 2 * FaxModemProbe::AnswerMs);
}

void TestFaxModemProbe::stopsAtTheLimit()
{
    QList<ModemSetup> setups;
    for (int i = 0; i < 5; ++i)
        setups << ModemSetup{"0,1", "Modem " + QByteArray::number(i)};
    Bench bench(setups);
    QVERIFY(bench.run(bench.paths, 4));
    QCOMPARE(bench.found.size(), 4);
    QCOMPARE(bench.found[3].identity, QStringLiteral("Modem 3"));
    QVERIFY(bench.modems[4]->commands().isEmpty());
}

void TestFaxModemProbe::candidates_data()
{
    QTest::addColumn<bool>("stationOnModem");
    QTest::newRow("modem free") << false;
    QTest::newRow("station on the modem's device") << true;
}

// Ports.cfg maps ports 1 and 2 to one device, once by name and once through an alias.
void TestFaxModemProbe::candidates()
{
    QFETCH(bool, stationOnModem);
    QTemporaryDir dir;
    PseudoTerminal pty;
    QVERIFY(pty.open());
    const QString alias = dir.filePath("modem");
    QVERIFY(QFile::link(pty.slavePath(), alias));
    QFile cfg(dir.filePath("Ports.cfg"));
    QVERIFY(cfg.open(QIODevice::WriteOnly));
    cfg.write(QStringLiteral("1=%1\n2=%2\n").arg(pty.slavePath(), alias).toUtf8());
    cfg.close();

    const QStringList inUse = stationOnModem ? QStringList{alias} : QStringList();
    const QStringList devices = faxCandidateDevices(dir.path(), inUse);
    QCOMPARE(devices.count(pty.slavePath()) + devices.count(alias), stationOnModem ? 0 : 1);
    QCOMPARE(devices.count(QStringLiteral("/dev/ttyS2")), 1); // port 3, unmapped
    QCOMPARE(devices.count(QStringLiteral("/dev/ttyS7")), 1);
}

QTEST_GUILESS_MAIN(TestFaxModemProbe)
#include "tst_faxmodemprobe.moc"
