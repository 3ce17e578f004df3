// The status-bar text of each transfer state, and what each state makes happen.
#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

class Clock;
class StatusBoard;
class TransferChannel;
class TransferLog;

// Which of the three channels: Inet1 uploads pages, Inet2 fetches the forecast, Inet3
// uploads graphs.
enum class TransferRole { PageUpload, Forecast, GraphUpload };

// The text shown for `state`; states that carry a time get the general date of `now`.
// A null string for a number outside 0 to 12.
QString transferStateMessage(TransferRole role, int state, const QDateTime &now);

// Shows each state of one channel in the status bar, then performs its extra action:
// state 11 cancels the operation, state 10 cancels Inet2's, state 12 emits requestCompleted().
class TransferStatusHandler : public QObject
{
    Q_OBJECT
public:
    TransferStatusHandler(TransferChannel &channel, TransferRole role, const Clock &clock,
                          StatusBoard &status, QObject *parent = nullptr);

    TransferRole role() const { return m_role; }

signals:
    // State 12: the forecast is collected (Inet2), the graph upload is done (Inet3).
    void requestCompleted();

private:
    void onStateChanged(int state);

    TransferChannel &m_channel;
    TransferRole m_role;
    const Clock &m_clock;
    StatusBoard &m_status;
};

// The second line under the state texts: a channel's failure reasons go to `log`, its notes
// (a host key recorded) to the status line and to `log`, each with the clock's time.
void logTransferReasons(TransferChannel &channel, const Clock &clock, StatusBoard &status,
                        TransferLog &log);
