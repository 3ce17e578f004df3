// Transfer state texts, the actions that states trigger, and where failure reasons go.
#include "core/statusboard.h"
#include "core/transferlog.h"
// Transfer state texts and the actions that states trigger.
#include "fakes/manualclock.h"
#include "publishing/transferstatus.h"
#include "recordingchannel.h"

#include <QSignalSpy>
#include <QtTest>

Q_DECLARE_METATYPE(TransferRole)

class TestTransferStatus : public QObject
{
    Q_OBJECT
private slots:
    void messages_data();
    void messages();
    void actions_data();
    void actions();
    void reasonsGoToLogNotesAlsoToStatus();
};

void TestTransferStatus::messages_data()
{
    QTest::addColumn<TransferRole>("role");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("text");
    const auto row = [](const char *name, TransferRole role, int state, const QString &text) {
        QTest::newRow(name) << role << state << text;
    };
    const QString at = QStringLiteral("1/15/2026 12:00:00 PM");
    const TransferRole page = TransferRole::PageUpload, forecast = TransferRole::Forecast;
    const QString received = "Corvane successfully received a response from the host computer";
    row("0", page, 0, "No state to report.");
    row("1", page, 1, "Corvane is looking up the IP address of the specified host computer.");
    row("2", page, 2, "Corvane successfully found the IP address of the specified host computer.");
    row("3", page, 3, "Corvane is connecting to the host computer.");
    row("4", page, 4, "Corvane successfully connected to the host computer.");
    row("5", page, 5, "Corvane is sending a request to the host computer.");
    row("6", page, 6, "Corvane successfully sent the request.");
    row("7", page, 7, "Corvane is receiving a response from the host computer.");
    row("8 Inet1 with time", page, 8, received + " at " + at);
    row("8 Inet3 with time", TransferRole::GraphUpload, 8, received + " at " + at);
    row("8 Inet2 without time", forecast, 8, received + ".");
    row("9", page, 9, "Corvane is disconnecting from the host computer.");
    row("10", forecast, 10, "Corvane successfully disconnected from the host computer at " + at);
    row("11", page, 11, "An error occurred in communicating with the host computer.");
    row("12 transfered", page, 12,
        "Corvane has processed the request and all data has been transfered as of " + at);
}

void TestTransferStatus::messages()
{
    QFETCH(TransferRole, role);
    QFETCH(int, state);
    QFETCH(QString, text);
    ManualClock clock;
    StatusBoard status;
    RecordingChannel channel;
    TransferStatusHandler handler(channel, role, clock, status);
    emit channel.stateChanged(state);
    QCOMPARE(status.statusText(), text);
}

void TestTransferStatus::actions_data()
{
    QTest::addColumn<TransferRole>("role");
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("cancels");
    QTest::addColumn<int>("completions");
    QTest::addColumn<bool>("textSet");
    QTest::newRow("11 cancels Inet1") << TransferRole::PageUpload << 11 << 1 << 0 << true;
    QTest::newRow("11 cancels Inet2") << TransferRole::Forecast << 11 << 1 << 0 << true;
    QTest::newRow("11 cancels Inet3") << TransferRole::GraphUpload << 11 << 1 << 0 << true;
    QTest::newRow("10 cancels Inet2") << TransferRole::Forecast << 10 << 1 << 0 << true;
    QTest::newRow("10 leaves Inet1") << TransferRole::PageUpload << 10 << 0 << 0 << true;
    QTest::newRow("10 leaves Inet3") << TransferRole::GraphUpload << 10 << 0 << 0 << true;
    QTest::newRow("12 completes Inet2") << TransferRole::Forecast << 12 << 0 << 1 << true;
    QTest::newRow("12 completes Inet3") << TransferRole::GraphUpload << 12 << 0 << 1 << true;
    QTest::newRow("8 does nothing more") << TransferRole::Forecast << 8 << 0 << 0 << true;
    QTest::newRow("13 sets no text") << TransferRole::PageUpload << 13 << 0 << 0 << false;
    QTest::newRow("-1 sets no text") << TransferRole::PageUpload << -1 << 0 << 0 << false;
}

void TestTransferStatus::actions()
{
    QFETCH(TransferRole, role);
    QFETCH(int, state);
    QFETCH(int, cancels);
    QFETCH(int, completions);
    QFETCH(bool, textSet);
    ManualClock clock;
    StatusBoard status;
    status.setStatusText(QStringLiteral("before"));
    RecordingChannel channel;
    TransferStatusHandler handler(channel, role, clock, status);
    QSignalSpy completed(&handler, &TransferStatusHandler::requestCompleted);
    emit channel.stateChanged(state);
    QCOMPARE(channel.cancels, cancels);
    QCOMPARE(completed.size(), completions);
    QCOMPARE(status.statusText() != QLatin1String("before"), textSet);
}

void TestTransferStatus::reasonsGoToLogNotesAlsoToStatus()
{
    ManualClock clock;
    StatusBoard status;
    RecordingChannel channel;
    TransferLog log;
    TransferStatusHandler handler(channel, TransferRole::PageUpload, clock, status);
    logTransferReasons(channel, clock, status, log);
    emit channel.stateChanged(TransferState::Error);
    emit channel.failed("PUT a b to ftp://h:21: Login denied");
    // The state text stays as it is; the reason is the line below it.
    QCOMPARE(status.statusText(), "An error occurred in communicating with the host computer.");
    emit channel.noted("Corvane recorded the host key of h.");
    QCOMPARE(status.statusText(), "Corvane recorded the host key of h.");
    const QList<TransferLogEntry> entries = log.entries();
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries[0].text, "PUT a b to ftp://h:21: Login denied");
    QCOMPARE(entries[0].kind, TransferLogEntry::Failure);
    QCOMPARE(entries[0].time, clock.now());
    QCOMPARE(entries[1].kind, TransferLogEntry::Note);
}

QTEST_GUILESS_MAIN(TestTransferStatus)
#include "tst_transferstatus.moc"
