// Starts and ends the dial-up internet connection "Pellanet" through NetworkManager.
#pragma once

#include "core/clock.h"
#include "core/statusboard.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QStringList>
#include <memory>

class QProcess;

// The dial-up networking entry used both to dial and to pick the connection to end.
inline constexpr char DialEntryName[] = "Pellanet";

// Runs nmcli one call at a time on the event loop; no call blocks the caller. Failures are
// silent and leave the connection as it is; only a missing nmcli is reported, once.
class DialupControl : public QObject
{
    Q_OBJECT
public:
    static constexpr int HangupDelayMs = 10000;
    // A call that takes longer is killed, so that a stuck nmcli cannot hold the queue.
    static constexpr int CallTimeoutMs = 30000;

    DialupControl(Clock &clock, StatusBoard &status, QObject *parent = nullptr);
    ~DialupControl() override;

    // The one-shot HangupTimer; its tick disables it and calls HangUpDialup.
    ClockTimer &hangupTimer() { return *m_hangupTimer; }
    // True while an nmcli call runs or waits to run.
    bool isBusy() const;

public slots:
    // nmcli connection up id Pellanet; the outcome is not checked.
    void dial();
    // Ends every active connection whose trimmed name is the entry name; others stay up.
    void HangUpDialup();
    // (Re)starts HangupTimer: the hang-up follows in 10 seconds.
    void armHangupTimer();

signals:
    // A dial or hang-up request has run to its end, whatever the outcome.
    void finished();

private:
    enum class Step { Dial, List, Down };
    struct Call
    {
        Step step;
        QStringList arguments;
    };

    void enqueue(const Call &call, bool first = false);
    void scheduleNext();
    void startNext();
    void processEnded(bool ok);
    void callEnded(Step step, bool ok, const QByteArray &output);
    void reportMissingNmcli();

    StatusBoard &m_status;
    std::unique_ptr<ClockTimer> m_hangupTimer;
    std::unique_ptr<ClockTimer> m_callTimeout;
    QProcess *m_process = nullptr;
    Step m_runningStep = Step::Dial;
    QList<Call> m_queue;
    bool m_nextScheduled = false;
    int m_downsLeft = 0;
    bool m_missingReported = false;
};
