// Finding the fax modems among serial devices: asks each one for its fax classes and name.
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class Clock;
class ClockTimer;
class SerialPort;

struct FaxModem
{
    QString devicePath;
    QString identity; // the modem's answer to ATI

    // What the device window lists.
    QString description() const;
};

// True when an answer to AT+FCLASS=? offers service class 1 or 2 (2.0 and 2.1 included), in
// the forms modems give it: "0,1,2", "(0,1,2.0)", "0-2".
bool offersFaxClass(const QByteArray &classes);

// The serial devices worth probing: those of ports 1-8 (after "Ports.cfg" in `programDir`)
// and every /dev/ttyUSB* and /dev/ttyACM*, each once, less the devices in `inUse` (the
// station's line: a probe there would take the console's bytes, and as root it could open
// the device beside the station link).
QStringList faxCandidateDevices(const QString &programDir, const QStringList &inUse = {});

// Probes devices one after another on the event loop: AT+FCLASS=?, then ATI from those that
// offer a fax class. A device that will not open or does not answer in time is passed over.
// Stops at `limit` modems found.
class FaxModemProbe : public QObject
{
    Q_OBJECT
public:
    using PortFactory = std::function<std::unique_ptr<SerialPort>()>;
    static constexpr int AnswerMs = 3000;

    FaxModemProbe(Clock &clock, PortFactory ports, QObject *parent = nullptr);
    ~FaxModemProbe() override;

    void start(const QStringList &devicePaths, int limit);
    bool isRunning() const { return m_running; }

signals:
    void finished(const QList<FaxModem> &modems);

private:
    enum class Asking { Classes, Identity };

    void nextDevice();
    void ask(Asking what, const QByteArray &command);
    void onReadyRead();
    void answered(bool complete);
    void closePort();

    PortFactory m_ports;
    std::unique_ptr<ClockTimer> m_timer;
    std::unique_ptr<SerialPort> m_port;
    QStringList m_pending;
    QList<FaxModem> m_found;
    int m_limit = 0;
    bool m_running = false;
    Asking m_asking = Asking::Classes;
    QByteArray m_answer;
};
