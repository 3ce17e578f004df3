// The running engine shared by the desktop and headless modes: settings, station link, log and
// scheduler.
#pragma once

#include "app/commands.h"
#include "app/devices.h"
#include "config/configuration.h"
#include "core/job.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class Clock;
class ReadingsRecord;
class StatusBoard;
class SerialPort;
class StationLink;
class PortKeeper;
class SimulatedConsole;
class LogWriter;
class Scheduler;

// What the setup dialog's "Save" came to.
struct SetupSaveResult
{
    QString refusedField; // a value the file cannot hold ("Pagers[1].PagerNumber"): nothing
                          // was written and nothing applied, so the user can correct it
    QString refusal;      // why, without the field: "contains a double quote"
    QString message;      // for the user when the values apply but the file was not written
    bool applied() const { return refusedField.isEmpty(); }
};

// Owns everything the unattended work needs. The desktop builds its windows around one
// Runtime; headless mode runs one without windows. Jobs of the publishing, paging and
// graph subsystems are plugged in with the set* calls as factories of runs; a job not
// plugged in is not run. Plugging in again (an empty factory too) first abandons and
// deletes the scheduler's last run of that job, so its owner may go afterwards.
class Runtime : public QObject
{
    Q_OBJECT
public:
    // The station port comes from `devices`, as do the ports and channels of the services
    // plugged in later (devices()).
    Runtime(Clock &clock, const RunOptions &options, DeviceFactories devices = realDevices(),
            QObject *parent = nullptr);
    ~Runtime() override;

    // Reads "Corvane.cfg", gives the ports their numbers, opens the station port and
    // starts Timer1. Every step runs even when an earlier one failed.
    void startUp();
    // Stops Timer1 and closes the station port; a record being written is finished first
    // because this runs on the same thread after the pass returns.
    void shutDown();

    const Configuration &configuration() const { return m_config; }
    // Whether startUp() found "Corvane.cfg": without it the user is offered the setup.
    bool configurationFileFound() const { return m_configurationFileFound; }
    // The setup dialog's "Save": writes "Corvane.cfg", then applies the values as written
    // even when the file could not be written (the message says so). The station port is
    // closed and opened again on the port now set, which also picks up a changed
    // "Ports.cfg". A value the file cannot hold is refused: nothing written, nothing applied.
    SetupSaveResult saveSetup(const Configuration &config);
    // Stores the values without writing the file and reopens the station port when its
    // number changed. Due times already computed keep their value.
    void setConfiguration(const Configuration &config);

    ReadingsRecord &record();
    StatusBoard &status();
    StationLink &stationLink();
    Scheduler &scheduler();
    LogWriter &logWriter();
    Clock &clock() { return m_clock; }
    const DeviceFactories &devices() const { return m_devices; }

    // The device the station port was last given, and whether it is open.
    QString stationDevicePath() const;
    bool stationPortOpen() const;

    void setPublishing(JobFactory job);
    // The pager checks own their page-sent flags; the scheduler asks for the quarter-hour
    // reset through `clearPageSentFlags`.
    void setPaging(JobFactory checks, std::function<void()> clearPageSentFlags);
    void setGraphs(JobFactory job);

signals:
    // After startUp(), setConfiguration() and saveSetup(): the windows reapply their unit
    // captions, the FTP channels take their settings.
    void configurationChanged();
    // After saveSetup() applied its values, following configurationChanged(): the pager
    // port is opened again on the port now set.
    void setupSaved();

private:
    class Jobs;

    QString stationDeviceFor(const Configuration &config) const;
    void openStationPort();
    // The logging pass is not run on readings no frame has renewed for this long.
    static constexpr qint64 StaleStationDataMs = 2 * 60 * 1000;
    bool stationDataStale();

    Clock &m_clock;
    RunOptions m_options;
    DeviceFactories m_devices;
    Configuration m_config;
    bool m_configurationFileFound = false;
    std::unique_ptr<ReadingsRecord> m_record;
    std::unique_ptr<StatusBoard> m_status;
    std::unique_ptr<SimulatedConsole> m_simulator;
    std::unique_ptr<SerialPort> m_stationPort;
    std::unique_ptr<StationLink> m_stationLink;
    std::unique_ptr<PortKeeper> m_portKeeper;
    qint64 m_startedMs = 0;
    QDateTime m_startedAt;
    std::unique_ptr<LogWriter> m_logWriter;
    std::unique_ptr<Jobs> m_jobs;
    std::unique_ptr<Scheduler> m_scheduler;
};
