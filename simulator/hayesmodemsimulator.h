// A Hayes modem with a paging service's manual entry behind it, played on the device side of a
// pseudo-terminal.
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <memory>

class Clock;
class ClockTimer;
class QSocketNotifier;

// Echo is off and replies are verbose ("\r\nOK\r\n"). In command mode a line holding
// "AT" is a command from there on and is answered "OK"; "ATDT<number>" dials and, after
// the dial time, answers "CONNECT 1200" and goes on line. On line, "+++" returns to
// command mode with the call held; "ATH" or "ATZ" then ends the call. The service
// behind the call speaks the manual entry dialogue:
//
//   <CR>            -> "ID="
//   M<CR>           -> "Enter pager number, then RETURN"
//   <pager><CR>     -> "Enter message, then RETURN"
//   <message><CR>   -> "Message accepted. Next pager number, then RETURN"  (page recorded)
//
// Time (the dial time, the pacing of replies) follows the injected clock.
class HayesModemSimulator : public QObject
{
    Q_OBJECT
public:
    struct Page
    {
        QString pagerNumber;
        QString message;
    };
    struct Line
    {
        qint64 atMs; // the clock's monotonic time when the line was complete
        QString text;
    };

    // `deviceFd` is the master side of a pseudo-terminal, non-blocking; not owned.
    HayesModemSimulator(int deviceFd, Clock &clock, QObject *parent = nullptr);
    ~HayesModemSimulator() override;

    // Failures to play: a dead modem, a call nobody answers, a service that never prompts.
    void setAnswersCommands(bool on) { m_answersCommands = on; }
    void setCarrier(bool on) { m_carrier = on; }
    void setServicePrompts(bool on) { m_servicePrompts = on; }
    // With a positive value every reply goes out one character per `ms` milliseconds.
    void setReplyCharacterMs(int ms) { m_characterMs = ms; }
    void setDialMs(int ms) { m_dialMs = ms; }

    QList<Page> pages() const { return m_pages; }
    // Every command line the modem took in command mode, and "+++" for each escape.
    QList<Line> commands() const { return m_commands; }
    QStringList commandTexts() const;
    // Every byte the modem has read, as it came.
    QByteArray received() const { return m_received; }
    // How many reply bytes have gone out to the port side so far.
    qint64 bytesWritten() const { return m_bytesWritten; }
    bool online() const { return m_mode == Mode::Online; }

signals:
    void pageReceived(const HayesModemSimulator::Page &page);
    void commandReceived(const QString &command);

private:
    enum class Mode { Command, Dialling, OnlineHeld, Online };
    enum class Service { AwaitWake, AwaitId, AwaitPager, AwaitMessage };

    void readDevice();
    void takeByte(char c);
    void commandLine(const QByteArray &line);
    void serviceLine(const QByteArray &line);
    void dialled();
    void endCall();
    void reply(const QByteArray &text);
    void writeNextCharacter();
    void writeDevice(const QByteArray &data);

    int m_fd;
    Clock &m_clock;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::unique_ptr<ClockTimer> m_dialTimer;
    std::unique_ptr<ClockTimer> m_paceTimer;

    bool m_answersCommands = true;
    bool m_carrier = true;
    bool m_servicePrompts = true;
    int m_characterMs = 0;
    int m_dialMs = 3000;

    Mode m_mode = Mode::Command;
    Service m_service = Service::AwaitWake;
    QByteArray m_line;
    QByteArray m_pending; // paced reply characters not written yet
    QString m_pagerNumber;
    QList<Page> m_pages;
    QList<Line> m_commands;
    QByteArray m_received;
    qint64 m_bytesWritten = 0;
};
