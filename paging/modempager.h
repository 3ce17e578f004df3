// SendPage: the pages waiting for the modem, sent one call at a time.
#pragma once

#include "paging/pagedialogue.h"

#include <QObject>
#include <QQueue>
#include <functional>

class Clock;
class SerialPort;
class StatusBoard;
struct Configuration;

// What the modem pager needs from the rest of the program.
struct ModemPagerWiring
{
    SerialPort *port = nullptr;                    // the modem port (Comm2); not owned
    std::function<QString(int)> devicePathForPort; // port number 1-8 to its device
    std::function<void()> hangUpDialup;            // ends the internet dial-up connection
};

// Calls are queued and run in the order they were made; a second call never starts on
// the modem while one runs. The port numbers are read from the configuration when a
// call starts, so a change saved in the meantime applies to the next call.
class ModemPager : public QObject
{
    Q_OBJECT
public:
    ModemPager(const Configuration &config, const ModemPagerWiring &wiring, Clock &clock,
               StatusBoard &status, QObject *parent = nullptr);
    ~ModemPager() override;

    void SendPage(const QString &pagerNumber, const QString &message, const QString &companyNumber);

    bool isBusy() const { return m_current != nullptr; }
    int waiting() const { return int(m_queue.size()); }
    // The call in progress and those waiting.
    int callsPending() const { return waiting() + (isBusy() ? 1 : 0); }
    // Ends the call in progress where it stands (the port is closed, the status blanked)
    // and drops the waiting ones; idle() does not follow.
    void abandonCalls();
    // A saved setup: the port is closed and opened again on PagerPort's device, and held
    // open for the next call. A call in progress keeps its line; the next one takes the new
    // device. False, with the port's errorString(), when the device would not open.
    bool reopenPort();

signals:
    void pageFinished(const PageRequest &request, PageOutcome outcome);
    // The queue is empty and the modem port is free again.
    void idle();

private:
    void startNext();
    PagerLine lineForNextCall() const;

    const Configuration &m_config;
    ModemPagerWiring m_wiring;
    Clock &m_clock;
    StatusBoard &m_status;
    QQueue<PageRequest> m_queue;
    PageDialogue *m_current = nullptr;
};

// Whether the pager port is the modem of the internet connection: both port numbers
// compared as numbers, as settings compare (an empty one counts as 0).
bool pagerPortIsFtpPort(const Configuration &config);
