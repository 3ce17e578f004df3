// Dial-up control against a fake nmcli that records its calls: only the named connection
// is ended, the hang-up timer fires once, and a missing nmcli is reported once.
#include "dialup/dialupcontrol.h"
#include "fakes/manualclock.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Each call becomes one line of the log, arguments separated by '|'. The reply to the
// listing of active connections comes from the file "active"; a file "fail" makes every
// call fail (after any output); a file "hang" makes every call hang, its process id in "pid".
const char fakeNmcli[] = R"(#!/bin/sh
dir=$(dirname "$0")
for a in "$@"; do printf '%s|' "$a" >> "$dir/calls"; done
printf '\n' >> "$dir/calls"
[ -e "$dir/hang" ] && { echo $$ > "$dir/pid"; exec sleep 120; }
case "$*" in
  *"show --active"*) [ -e "$dir/active" ] && while IFS= read -r l; do printf '%s\n' "$l"; done < "$dir/active" ;;
esac
[ -e "$dir/fail" ] && exit 1
exit 0
)";

} // namespace

class TstDialupControl : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void hangUpEndsOnlyTheEntry_data();
    void hangUpEndsOnlyTheEntry();
    void dialBringsTheEntryUp();
    void hangupTimerFiresOnceTenSecondsAfterArming();
    void stuckCallIsKilledAtItsDeadline();
    void destroyedDuringACallLeavesNoProcess();
    void missingNmcliIsReportedOnce();

private:
    QStringList calls() const;
    void writeFile(const QString &name, const QByteArray &bytes);

    std::unique_ptr<QTemporaryDir> m_bin;
    QByteArray m_savedPath;
    ManualClock m_clock;
    StatusBoard m_status;
};

void TstDialupControl::init()
{
    m_bin = std::make_unique<QTemporaryDir>();
    writeFile("nmcli", fakeNmcli);
    QFile::setPermissions(m_bin->filePath("nmcli"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_savedPath = qgetenv("PATH");
    qputenv("PATH", m_bin->path().toLocal8Bit() + ':' + m_savedPath);
}

void TstDialupControl::cleanup()
{
    qputenv("PATH", m_savedPath);
    m_bin.reset();
}

QStringList TstDialupControl::calls() const
{
    QFile f(m_bin->filePath("calls"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void TstDialupControl::writeFile(const QString &name, const QByteArray &bytes)
{
    QFile f(m_bin->filePath(name));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

void TstDialupControl::hangUpEndsOnlyTheEntry_data()
{
    QTest::addColumn<QByteArray>("active");
    QTest::addColumn<bool>("fails");
    QTest::addColumn<QStringList>("downs");
    QTest::newRow("no active connection") << QByteArray() << false << QStringList();
    QTest::newRow("two, one of them ours") << QByteArray("Home Wifi\n  Pellanet  \n") << false
                                           << QStringList{"connection|down|id|  Pellanet  |"};
    QTest::newRow("similar names")
        << QByteArray("Pellanet2\nPella\\:net\nWired connection 1\n") << false << QStringList();
    QTest::newRow("ours twice") << QByteArray("Pellanet\nHome\n\tPellanet\n") << false
                                << QStringList{"connection|down|id|Pellanet|",
                                               "connection|down|id|\tPellanet|"};
    QTest::newRow("listing fails") << QByteArray("Pellanet\n") << true << QStringList();
}

void TstDialupControl::hangUpEndsOnlyTheEntry()
{
    QFETCH(QByteArray, active);
    QFETCH(bool, fails);
    QFETCH(QStringList, downs);
    writeFile("active", active);
    if (fails)
        writeFile("fail", "");
    DialupControl control(m_clock, m_status);
    QSignalSpy finished(&control, &DialupControl::finished);
    control.HangUpDialup();
    QVERIFY(finished.wait(10000));
    QVERIFY(!control.isBusy());
    QCOMPARE(calls(), QStringList{"-t|-f|NAME|connection|show|--active|"} + downs);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(m_status.statusText(), QString());
}

void TstDialupControl::dialBringsTheEntryUp()
{
    DialupControl control(m_clock, m_status);
    QSignalSpy finished(&control, &DialupControl::finished);
    control.dial();
    QVERIFY(calls().isEmpty()); // nothing runs inside the caller's own call
    QVERIFY(finished.wait(10000));
    QCOMPARE(calls(), QStringList{"connection|up|id|Pellanet|"});
}

void TstDialupControl::hangupTimerFiresOnceTenSecondsAfterArming()
{
    writeFile("active", "Pellanet\n");
    DialupControl control(m_clock, m_status);
    QSignalSpy finished(&control, &DialupControl::finished);
    control.armHangupTimer();
    m_clock.advanceSeconds(5);
    control.armHangupTimer(); // a second pass restarts the delay rather than adding a hang-up
    m_clock.advanceMs(9999);
    QCoreApplication::processEvents();
    QVERIFY(!control.isBusy());
    QVERIFY(control.hangupTimer().isActive());
    m_clock.advanceMs(1);
    QVERIFY(!control.hangupTimer().isActive());
    QVERIFY(finished.wait(10000));
    m_clock.advanceSeconds(60);
    QCoreApplication::processEvents();
    QVERIFY(!control.isBusy());
    QCOMPARE(calls(),
             (QStringList{"-t|-f|NAME|connection|show|--active|", "connection|down|id|Pellanet|"}));
    QCOMPARE(finished.count(), 1);
}

void TstDialupControl::stuckCallIsKilledAtItsDeadline()
{
    writeFile("hang", "");
    DialupControl control(m_clock, m_status);
    QSignalSpy finished(&control, &DialupControl::finished);
    control.dial();
    control.HangUpDialup();
    QTRY_COMPARE_WITH_TIMEOUT(calls().size(), 1, 10000);
    m_clock.advanceMs(DialupControl::CallTimeoutMs - 1);
    QCoreApplication::processEvents();
    QCOMPARE(finished.count(), 0);
    m_clock.advanceMs(1);
    QVERIFY(finished.wait(10000));
    // The queued hang-up runs after the killed dial, and is killed in its turn.
    QTRY_COMPARE_WITH_TIMEOUT(calls().size(), 2, 10000);
    m_clock.advanceMs(DialupControl::CallTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 10000);
    QVERIFY(!control.isBusy());
}

void TstDialupControl::destroyedDuringACallLeavesNoProcess()
{
    writeFile("hang", "");
    auto control = std::make_unique<DialupControl>(m_clock, m_status);
    control->dial();
    const auto readPid = [this] {
        QFile f(m_bin->filePath("pid"));
        return f.open(QIODevice::ReadOnly) ? f.readAll().trimmed() : QByteArray();
    };
    QTRY_VERIFY_WITH_TIMEOUT(!readPid().isEmpty(), 10000);
    const QByteArray pid = readPid();
    QVERIFY(QFileInfo::exists("/proc/" + pid));
    control.reset();
    // Killed and reaped: not even a zombie is left.
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists("/proc/" + pid), 10000);
}

void TstDialupControl::missingNmcliIsReportedOnce()
{
    qputenv("PATH", QTemporaryDir().path().toLocal8Bit()); // a folder that no longer exists
    DialupControl control(m_clock, m_status);
    QSignalSpy finished(&control, &DialupControl::finished);
    QSignalSpy status(&m_status, &StatusBoard::statusTextChanged);
    control.dial();
    control.HangUpDialup();
    control.dial();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 3, 10000);
    QCOMPARE(status.count(), 1);
    QVERIFY(m_status.statusText().contains("nmcli"));
    QVERIFY(calls().isEmpty());
}

QTEST_GUILESS_MAIN(TstDialupControl)
#include "tst_dialupcontrol.moc"
