// One page call: the Hayes modem dialogue with a paging service's manual entry, run on the event
// loop.
#pragma once

#include "paging/pagetext.h"
#include "paging/replymatcher.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class Clock;
class ClockTimer;
class SerialPort;
class StatusBoard;

struct SerialSettings;

// The paging service's line: 1200 baud, even parity, 7 data bits, 1 stop bit.
SerialSettings pagingLineSettings();

struct PageRequest
{
    QString pagerNumber;
    QString message;
    QString companyNumber; // dialled as given
};

// How one call ended. Only the status bar shows it to the user; callers may count it.
enum class PageOutcome {
    Sent,                  // every part went out (the service may not have confirmed the last)
    NoResponseFromModem,   // no "OK" to the reset
    NoConnection,          // no carrier within 60 s
    NoResponseFromService, // a prompt of the paging service did not come within 15 s
};

// What a call needs of the modem line, fixed when the call starts.
struct PagerLine
{
    SerialPort *port = nullptr;     // the modem port (shared with faxing); not owned
    QString devicePath;             // the device of PagerPort, used when the port is closed
    bool hangUpDialupFirst = false; // PagerPort is the modem of the internet connection
    std::function<void()> hangUpDialup;
};

// Walks the dialogue step by step: every pause is a deadline on the monotonic clock and
// every wait for a reply is fed by the port's readyRead, so the event loop keeps running
// throughout. The order of the steps, the status texts and the time-outs are the
// service's dialogue; see the step functions in order.
class PageDialogue : public QObject
{
    Q_OBJECT
public:
    PageDialogue(const PageRequest &request, const PagerLine &line, Clock &clock,
                 StatusBoard &status, QObject *parent = nullptr);
    ~PageDialogue() override;

    void start();
    // Stops between two steps: the port is closed and the status blanked, without the
    // hang-up sequence; finished() does not follow.
    void abandon();
    bool isRunning() const { return m_running; }

signals:
    void finished(PageOutcome outcome);

private:
    using Step = void (PageDialogue::*)();

    // The dialogue, in order.
    void openPort();
    void resetModem();
    void pauseThenDial();
    void dial();
    void connected();
    void askForId();
    void pauseThenManualEntry();
    void requestManualEntry();
    void pauseThenPagerNumber();
    void sendPagerNumber();
    void sendMessagePart();
    void messagePartDone();
    void hangUp();
    void hangUpReset();
    void hangUpHook();
    void hangUpClose();
    void finish();

    // The failures.
    void noModem();
    void noConnection();
    void noService();
    void blankStatusThenHangUp();

    void after(int ms, Step next);
    void waitFor(const QList<QByteArray> &replies, int seconds, Step found, Step timedOut,
                 bool showProgress = false);
    bool pollReply();
    void onTimer();
    void clearBuffers();
    void send(const QByteArray &data);
    void setStatus(const QString &text);

    PageRequest m_request;
    PagerLine m_line;
    StatusBoard &m_status;
    std::unique_ptr<ClockTimer> m_timer;

    PageParts m_parts;
    bool m_onSecondPart = false;
    bool m_running = false;
    PageOutcome m_outcome = PageOutcome::Sent;

    Step m_onTimer = nullptr;
    // The wait in progress, if any.
    bool m_waiting = false;
    bool m_showProgress = false;
    ReplyMatcher m_reply;
    Step m_onFound = nullptr;
};
