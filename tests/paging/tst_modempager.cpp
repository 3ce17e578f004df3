// The paging dialogue against a simulated modem and paging service on a pseudo-terminal.
#include "clockdrive.h"

#include "acquisition/pseudoterminal.h"
#include "acquisition/serialport.h"
#include "config/configuration.h"
#include "core/statusboard.h"
#include "fakes/manualclock.h"
#include "paging/modempager.h"
#include "simulator/hayesmodemsimulator.h"

#include <QtTest>

namespace {

struct StatusAt
{
    qint64 ms;
    QString text;
};

// A modem line with a paging service behind it, a pager using it, and a record of what
// the status bar showed and when.
struct Line
{
    explicit Line(const QDateTime &start = QDateTime(QDate(2026, 3, 2), QTime(9, 0))) : clock(start)
    {
        config.PagerPort = 2;
        config.FtpPort = 1;
        QObject::connect(&status, &StatusBoard::statusTextChanged, &status,
                         [this](const QString &t) {
                             if (statuses.isEmpty() || statuses.last().text != t)
                                 statuses.append({clock.monotonicMs(), t});
                         });
        QObject::connect(port.get(), &SerialPort::readyRead, port.get(), [this] { ++reads; });
        QObject::connect(&pager, &ModemPager::pageFinished, &pager,
                         [this](const PageRequest &, PageOutcome o) { outcomes.append(o); });
    }

    bool runUntilIdle(double maxSeconds = 300)
    {
        return driveUntil(
            clock, [this] { return !pager.isBusy() && pager.waiting() == 0; },
            [this] {
                return modem.received().size() >= port->bytesWritten() &&
                       (!port->isOpen() || port->bytesArrived() >= modem.bytesWritten());
            },
            maxSeconds);
    }

    QStringList statusTexts() const
    {
        QStringList out;
        for (const StatusAt &s : statuses)
            out << s.text;
        return out;
    }
    qint64 statusTime(const QString &text) const
    {
        for (const StatusAt &s : statuses) {
            if (s.text == text)
                return s.ms;
        }
        return -1;
    }
    // Clock time from the first showing of `from` to the next status after it.
    qint64 shownFor(const QString &from) const
    {
        for (int i = 0; i + 1 < statuses.size(); ++i) {
            if (statuses[i].text == from)
                return statuses[i + 1].ms - statuses[i].ms;
        }
        return -1;
    }

    PseudoTerminal pty;
    bool ptyOpen = pty.open(); // before the modem takes its master side
    ManualClock clock;
    StatusBoard status;
    Configuration config;
    std::unique_ptr<CountingPort> port = std::make_unique<CountingPort>(createSerialPort());
    HayesModemSimulator modem{pty.masterFd(), clock};
    int hangUps = 0;
    qint64 hangUpAt = -1;
    ModemPager pager{config,
                     ModemPagerWiring{port.get(), [this](int) { return pty.slavePath(); },
                                      [this] {
                                          ++hangUps;
                                          hangUpAt = clock.monotonicMs();
                                      }},
                     clock, status};
    QList<StatusAt> statuses;
    QList<PageOutcome> outcomes;
    int reads = 0;
};

const QStringList HangUpCommands{"+++", "ATZ", "ATH"};

} // namespace

Q_DECLARE_METATYPE(PageOutcome)

class TestModemPager : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void wholePage();
    void messageSplit_data();
    void messageSplit();
    void failures_data();
    void failures();
    void repliesOneCharacterAtATime();
    void pageAcrossMidnight();
    void dialupModemIsHungUpFirst();
    void callsRunOneAfterAnother();
};

void TestModemPager::init()
{
    qRegisterMetaType<PageOutcome>();
}

void TestModemPager::wholePage()
{
    Line l;
    QVERIFY(l.ptyOpen);
    l.pager.SendPage(QStringLiteral("1234567"), QStringLiteral("Temp 41.2 F, wind NW 12"),
                     QStringLiteral("9,5551212"));
    QVERIFY(l.pager.isBusy());
    QVERIFY(l.runUntilIdle());

    QCOMPARE(l.modem.pages().size(), 1);
    QCOMPARE(l.modem.pages()[0].pagerNumber, QStringLiteral("1234567"));
    QCOMPARE(l.modem.pages()[0].message, QStringLiteral("Temp 41.2 F, wind NW 12"));
    QCOMPARE(l.modem.commandTexts(), QStringList({"ATZ", "ATDT9,5551212"}) + HangUpCommands);
    // Commands end in one carriage return, the escape in none; no line feed anywhere.
    QCOMPARE(l.modem.received(),
             QByteArray("ATZ\rATDT9,5551212\r\rM\r1234567\rTemp 41.2 F, wind NW 12\r"
                        "+++ATZ\rATH\r"));
    QCOMPARE(l.statusTexts(),
             QStringList({"Intializing Modem", "DIALING MESSAGE SERVICE",
                          "CONNECTED TO MESSAGE SERVICE", "", "ID=", "SENDING ID",
                          "SENDING PAGER NUMBER", "SENDING ALPHA MESSAGE", "HANGING UP LINE", ""}));
    QCOMPARE(l.outcomes, QList<PageOutcome>{PageOutcome::Sent});
    QVERIFY(!l.port->isOpen());
    QCOMPARE(l.hangUps, 0);
    // The pauses: 3 s on line before the wake-up, the final text cleared 3 s later.
    QVERIFY(qAbs(l.shownFor("CONNECTED TO MESSAGE SERVICE") - 3000) <= 100);
    QVERIFY(qAbs(l.shownFor("HANGING UP LINE") - 3000) <= 100);
    // Initialising to the reset: 2 s; the escape 2 s before the reset, 1 s before ATH.
    const auto cmds = l.modem.commands();
    QVERIFY(qAbs(cmds[0].atMs - l.statusTime("Intializing Modem") - 2000) <= 100);
    QVERIFY(qAbs(cmds[3].atMs - cmds[2].atMs - 2000) <= 100);
    QVERIFY(qAbs(cmds[4].atMs - cmds[3].atMs - 1000) <= 100);
}

void TestModemPager::messageSplit_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<QList<int>>("pageLengths");

    QTest::newRow("80") << 80 << QList<int>{80};
    QTest::newRow("81: a one-character second page") << 81 << QList<int>{80, 1};
    QTest::newRow("82") << 82 << QList<int>{80, 2};
    QTest::newRow("200: the second part is not cut") << 200 << QList<int>{80, 120};
}

void TestModemPager::messageSplit()
{
    QFETCH(int, length);
    QFETCH(QList<int>, pageLengths);

    QString message;
    for (int i = 0; i < length; ++i)
        message.append(QChar(u'A' + i % 26));
    Line l;
    l.pager.SendPage(QStringLiteral("55"), message, QStringLiteral("5550000"));
    QVERIFY(l.runUntilIdle());

    const auto pages = l.modem.pages();
    QCOMPARE(pages.size(), pageLengths.size());
    QString joined;
    for (int i = 0; i < pages.size(); ++i) {
        QCOMPARE(pages[i].pagerNumber, QStringLiteral("55"));
        QCOMPARE(pages[i].message.size(), pageLengths[i]);
        joined += pages[i].message;
    }
    QCOMPARE(joined, message);
    // Both parts in one call.
    QCOMPARE(l.modem.commandTexts().count(QStringLiteral("ATDT5550000")), 1);
}

void TestModemPager::failures_data()
{
    QTest::addColumn<int>("failure"); // 0 dead modem, 1 no carrier, 2 no ID prompt
    QTest::addColumn<QStringList>("statuses");
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<PageOutcome>("outcome");
    QTest::addColumn<QString>("timedWait"); // the status shown when the wait gave up
    QTest::addColumn<int>("waitMs");        // how long after the command it gave up

    QTest::newRow("no OK") << 0 << QStringList{"Intializing Modem", "NO RESPONSE FROM MODEM", ""}
                           << QStringList{"ATZ"} << PageOutcome::NoResponseFromModem
                           << "NO RESPONSE FROM MODEM" << 5000;
    QTest::newRow("no carrier") << 1
                                << QStringList{"Intializing Modem",
                                               "DIALING MESSAGE SERVICE",
                                               "NO CONNECTION MADE, HANGING UP LINE",
                                               "",
                                               "HANGING UP LINE",
                                               ""}
                                << QStringList{"ATZ", "ATDT5550000", "ATZ", "ATH"}
                                << PageOutcome::NoConnection
                                << "NO CONNECTION MADE, HANGING UP LINE" << 60000;
    QTest::newRow("no ID prompt") << 2
                                  << QStringList{"Intializing Modem",
                                                 "DIALING MESSAGE SERVICE",
                                                 "CONNECTED TO MESSAGE SERVICE",
                                                 "",
                                                 "NO RESPONSE FROM PAGING COMPANY",
                                                 "",
                                                 "HANGING UP LINE",
                                                 ""}
                                  << QStringList{"ATZ", "ATDT5550000", "+++", "ATZ", "ATH"}
                                  << PageOutcome::NoResponseFromService
                                  << "NO RESPONSE FROM PAGING COMPANY" << 15000;
}

void TestModemPager::failures()
{
    QFETCH(int, failure);
    QFETCH(QStringList, statuses);
    QFETCH(QStringList, commands);
    QFETCH(PageOutcome, outcome);
    QFETCH(QString, timedWait);
    QFETCH(int, waitMs);

    Line l;
    l.modem.setAnswersCommands(failure != 0);
    l.modem.setCarrier(failure != 1);
    l.modem.setServicePrompts(failure != 2);
    l.pager.SendPage(QStringLiteral("55"), QStringLiteral("hello"), QStringLiteral("5550000"));
    QVERIFY(l.runUntilIdle());

    QVERIFY(l.modem.pages().isEmpty());
    QCOMPARE(l.statusTexts(), statuses);
    QCOMPARE(l.modem.commandTexts(), commands);
    QCOMPARE(l.outcomes, QList<PageOutcome>{outcome});
    QVERIFY(!l.port->isOpen());
    // The wait that failed lasted its full time-out, counted from the command it answers
    // (the bare return for the ID prompt comes 3 s after the connection status).
    const qint64 waitStart = failure == 2 ? l.statusTime("CONNECTED TO MESSAGE SERVICE") + 3000
                                          : l.modem.commands()[failure].atMs;
    const qint64 waited = l.statusTime(timedWait) - waitStart;
    QVERIFY2(qAbs(waited - waitMs) <= 150, qPrintable(QString::number(waited)));
}

void TestModemPager::repliesOneCharacterAtATime()
{
    Line l;
    l.modem.setReplyCharacterMs(120);
    l.pager.SendPage(QStringLiteral("77"), QStringLiteral("slow line"), QStringLiteral("5550000"));
    QVERIFY(l.runUntilIdle());
    QCOMPARE(l.modem.pages().size(), 1);
    QCOMPARE(l.modem.pages()[0].message, QStringLiteral("slow line"));
    QCOMPARE(l.outcomes, QList<PageOutcome>{PageOutcome::Sent});
    // The replies really came in pieces: far more reads than replies.
    QVERIFY2(l.reads > 40, qPrintable(QString::number(l.reads)));
    // The ID prompt was shown as it grew.
    QVERIFY(l.statusTexts().contains(QStringLiteral("ID")));
}

void TestModemPager::pageAcrossMidnight()
{
    Line noon(QDateTime(QDate(2026, 3, 2), QTime(12, 0)));
    Line late(QDateTime(QDate(2026, 3, 2), QTime(23, 59, 52)));
    for (Line *l : {&noon, &late}) {
        l->pager.SendPage(QStringLiteral("9"), QStringLiteral("midnight"),
                          QStringLiteral("5550000"));
        QVERIFY(l->runUntilIdle());
        QCOMPARE(l->modem.pages().size(), 1);
    }
    QVERIFY(late.clock.now().date() == QDate(2026, 3, 3));
    // Every pause and wait lasted as long across midnight as at noon.
    QCOMPARE(late.statusTexts(), noon.statusTexts());
    const qint64 noonStart = noon.statuses.first().ms;
    const qint64 lateStart = late.statuses.first().ms;
    for (int i = 0; i < noon.statuses.size(); ++i) {
        QVERIFY2(qAbs((late.statuses[i].ms - lateStart) - (noon.statuses[i].ms - noonStart)) <= 150,
                 qPrintable(noon.statuses[i].text));
    }
}

void TestModemPager::dialupModemIsHungUpFirst()
{
    Line l;
    l.config.PagerPort = QStringLiteral("1");
    l.config.FtpPort = 1;
    const qint64 start = l.clock.monotonicMs();
    l.pager.SendPage(QStringLiteral("9"), QStringLiteral("after the dial-up"),
                     QStringLiteral("5550000"));
    QCOMPARE(l.hangUps, 1);
    QCOMPARE(l.hangUpAt, start);
    QVERIFY(l.statuses.isEmpty());
    QVERIFY(l.runUntilIdle());
    QCOMPARE(l.hangUps, 1);
    QCOMPARE(l.modem.pages().size(), 1);
    QVERIFY(qAbs(l.statusTime("Intializing Modem") - start - 10000) <= 100);
}

void TestModemPager::callsRunOneAfterAnother()
{
    Line l;
    l.pager.SendPage(QStringLiteral("1"), QStringLiteral("first"), QStringLiteral("5550001"));
    l.pager.SendPage(QStringLiteral("2"), QStringLiteral("second"), QStringLiteral("5550002"));
    QCOMPARE(l.pager.waiting(), 1);
    QVERIFY(l.runUntilIdle());
    QCOMPARE(l.modem.commandTexts(), QStringList({"ATZ", "ATDT5550001"}) + HangUpCommands +
                                         QStringList({"ATZ", "ATDT5550002"}) + HangUpCommands);
    QCOMPARE(l.modem.pages().size(), 2);
    QCOMPARE(l.modem.pages()[0].message, QStringLiteral("first"));
    QCOMPARE(l.modem.pages()[1].message, QStringLiteral("second"));
}

QTEST_GUILESS_MAIN(TestModemPager)
#include "tst_modempager.moc"
