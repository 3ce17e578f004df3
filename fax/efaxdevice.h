// The fax component over Debian's efax: modems found by probing the serial devices, documents
// written with libtiff, each fax sent by one efax run and followed in the fax log.
#pragma once

#include "fax/faxdevice.h"
#include "fax/faxlog.h"
#include "fax/faxmodemprobe.h"

#include <QList>
#include <QProcess>
#include <functional>
#include <memory>
#include <optional>

class Clock;
class ClockTimer;

// The number as efax dials it: digits, '*', '#' and ',' (a pause), with the separators
// people type (blanks, '-', '(', ')', '.', '/') dropped. std::nullopt when anything else is
// in it: it would go to the modem as part of its dial command.
std::optional<QString> dialString(const QString &number);

struct EfaxWiring
{
    QString programDir;                      // the fax log lives here
    std::function<QStringList()> candidates; // the devices to probe
    FaxModemProbe::PortFactory ports;
    QString program = QStringLiteral("efax"); // found on PATH
};

class EfaxDevice final : public FaxDevice
{
    Q_OBJECT
public:
    // A send still running after this long is ended and logged as failed.
    static constexpr int SendLimitMs = 15 * 60 * 1000;

    EfaxDevice(EfaxWiring wiring, Clock &clock, QObject *parent = nullptr);
    ~EfaxDevice() override;

    void AutoDetect() override;
    bool isDetecting() const override { return m_probe.isRunning(); }
    int DeviceCount() const override { return int(m_devices.size()); }
    QString Devices(int index) const override;
    void setDeviceIndex(int index) override { m_deviceIndex = index; }

    void setFaxNumber(const QString &number) override { m_number = number; }
    QString FaxNumber() const override { return m_number; }
    FaxResult ImportFiles(const QString &faxPath, const QString &imagePath) override;
    void setFaxFiles(const QString &faxPath) override { m_faxFile = faxPath; }
    QString FaxFiles() const override { return m_faxFile; }
    FaxResult SendFax() override;

    // The device SendFax dials out on; empty until a detection has found it.
    QString sendDevice() const;

    FaxLog &log() { return m_log; }
    bool isSending() const { return m_entry.has_value(); }

private:
    void detected(const QList<FaxModem> &modems);
    void runEfax();
    void readOutput();
    void efaxEnded(int exitCode, QProcess::ExitStatus status);
    void efaxFailedToStart();
    void timedOut();
    void finish(FaxLogName log, int exitStatus, const QString &message);

    EfaxWiring m_wiring;
    Clock &m_clock;
    FaxLog m_log;
    FaxModemProbe m_probe;
    QList<FaxModem> m_devices;
    int m_deviceIndex = 0;
    QString m_number;
    QString m_faxFile;

    // The fax in progress, from SendFax() until its log entry is final.
    std::optional<FaxLogEntry> m_entry;
    bool m_sendAfterDetection = false;
    std::unique_ptr<QProcess> m_efax;
    std::unique_ptr<ClockTimer> m_limit;
    QByteArray m_output;
    QString m_lastLine;
};

// The real component for `programDir`: real serial ports, the candidates of
// faxCandidateDevices less those `inUse` gives at each detection, and the device that
// "FaxConfig.cfg" names.
std::unique_ptr<EfaxDevice> createEfaxDevice(Clock &clock, const QString &programDir,
                                             std::function<QStringList()> inUse,
                                             QObject *parent = nullptr);
