// Building the engine and running its start-up steps.
#include "app/runtime.h"

#include "acquisition/portkeeper.h"
#include "acquisition/readingsrecord.h"
#include "acquisition/serialport.h"
#include "acquisition/stationlink.h"
#include "config/configfile.h"
#include "core/clock.h"
#include "core/datetimeformat.h"
#include "core/programdir.h"
#include "core/statusboard.h"
#include "logging/loggingpass.h"
#include "logging/logwriter.h"
#include "scheduler/scheduledjobs.h"
#include "scheduler/scheduler.h"
#include "simulator/simulatedconsole.h"

#include <QDir>

// The scheduler's view of the jobs: logging passes of the log writer, and whatever the
// publishing, paging and graph subsystems have plugged in.
class Runtime::Jobs final : public ScheduledJobs
{
public:
    Jobs(LogWriter &log, Clock &clock, std::function<bool()> stale)
        : m_log(log), m_clock(clock), m_stale(std::move(stale))
    {
    }

    JobFactory publishing;
    JobFactory pagerChecks;
    JobFactory graphs;
    std::function<void()> clearPagerFlags;

    void createMonthDatabase(const QDate &date) override { m_log.ensureMonthDatabase(date); }
    std::unique_ptr<Job> newRun(ScheduledJob job) override
    {
        switch (job) {
        case ScheduledJob::Logging:
            // Old readings written as new would be records of weather that never was.
            if (m_stale())
                return nullptr;
            return std::make_unique<LoggingPass>(m_log, m_clock);
        case ScheduledJob::Publishing:
            return publishing ? publishing() : nullptr;
        case ScheduledJob::Paging:
            return pagerChecks ? pagerChecks() : nullptr;
        case ScheduledJob::Graphs:
            return graphs ? graphs() : nullptr;
        }
        return nullptr;
    }
    void clearPageSentFlags() override
    {
        if (clearPagerFlags)
            clearPagerFlags();
    }

private:
    LogWriter &m_log;
    Clock &m_clock;
    std::function<bool()> m_stale;
};

Runtime::Runtime(Clock &clock, const RunOptions &options, DeviceFactories devices, QObject *parent)
    : QObject(parent), m_clock(clock), m_options(options), m_devices(std::move(devices)),
      m_record(std::make_unique<ReadingsRecord>()), m_status(std::make_unique<StatusBoard>())
{
    if (options.simulate)
        m_simulator = std::make_unique<SimulatedConsole>(clock, options.simulatorSeed);
    m_stationPort = m_devices.serialPort();
    // Asked on every frame, so a saved change of units applies from the next frame.
    m_stationLink = std::make_unique<StationLink>(*m_stationPort, clock, *m_record,
                                                  [this] { return int(m_config.DisplayUnits); });
    m_logWriter = std::make_unique<LogWriter>(clock, *m_record, *m_status, programDirectory());
    m_jobs = std::make_unique<Jobs>(*m_logWriter, clock, [this] { return stationDataStale(); });
    m_scheduler = std::make_unique<Scheduler>(clock, m_config, *m_jobs);
    // Skips and abandoned runs are told apart from the jobs' own status texts.
    const auto note = [this](ScheduledJob, const QString &text) { m_status->setNote(text); };
    connect(m_scheduler.get(), &Scheduler::skipped, m_status.get(), note);
    connect(m_scheduler.get(), &Scheduler::abandoned, m_status.get(), note);

    m_portKeeper = std::make_unique<PortKeeper>(*m_stationPort, clock);
    connect(m_portKeeper.get(), &PortKeeper::lost, this, [this](const QString &why) {
        m_status->setStatusText(
            QStringLiteral("Station port %1 lost: %2. Corvane keeps trying to reopen it.")
                .arg(m_stationPort->devicePath(), why));
    });
    connect(m_portKeeper.get(), &PortKeeper::returned, this, [this] {
        m_status->setStatusText(
            QStringLiteral("Station port %1 is open again.").arg(m_stationPort->devicePath()));
    });
}

bool Runtime::stationDataStale()
{
    const qint64 last = m_stationLink->lastFrameMs();
    const qint64 since = last >= 0 ? last : m_startedMs;
    if (m_clock.monotonicMs() - since < StaleStationDataMs)
        return false;
    const QDateTime when = last >= 0 ? m_stationLink->lastFrameTime() : m_startedAt;
    m_status->setTitle(QStringLiteral("Corvane : No station data since ") + generalDate(when));
    return true;
}

Runtime::~Runtime()
{
    shutDown();
}

ReadingsRecord &Runtime::record()
{
    return *m_record;
}

StatusBoard &Runtime::status()
{
    return *m_status;
}

StationLink &Runtime::stationLink()
{
    return *m_stationLink;
}

Scheduler &Runtime::scheduler()
{
    return *m_scheduler;
}

LogWriter &Runtime::logWriter()
{
    return *m_logWriter;
}

QString Runtime::stationDevicePath() const
{
    return m_stationPort->devicePath();
}

bool Runtime::stationPortOpen() const
{
    return m_stationPort->isOpen();
}

void Runtime::setPublishing(JobFactory job)
{
    m_scheduler->discardRun(ScheduledJob::Publishing);
    m_jobs->publishing = std::move(job);
}

void Runtime::setPaging(JobFactory checks, std::function<void()> clearPageSentFlags)
{
    m_scheduler->discardRun(ScheduledJob::Paging);
    m_jobs->pagerChecks = std::move(checks);
    m_jobs->clearPagerFlags = std::move(clearPageSentFlags);
}

void Runtime::setGraphs(JobFactory job)
{
    m_scheduler->discardRun(ScheduledJob::Graphs);
    m_jobs->graphs = std::move(job);
}

QString Runtime::stationDeviceFor(const Configuration &config) const
{
    if (m_simulator)
        return m_simulator->devicePath();
    return devicePathForPort(config.StationPort, programDirectory());
}

void Runtime::openStationPort()
{
    m_portKeeper->close();
    const QString device = stationDeviceFor(m_config);
    m_stationPort->setDevicePath(device);
    if (device.isEmpty()) {
        m_status->setStatusText(QStringLiteral("No station port is set."));
        return;
    }
    m_stationPort->setSettings(SerialSettings{}); // 9600 baud, no parity, 8 data bits
    if (!m_portKeeper->open())
        m_status->setStatusText(QStringLiteral("Station port %1 could not be opened: %2")
                                    .arg(device, m_stationPort->errorString()));
}

void Runtime::startUp()
{
    m_startedMs = m_clock.monotonicMs();
    m_startedAt = m_clock.now();
    // A missing or short file leaves the defaults of what it did not give. A refused file,
    // or one that others can read, is told about once, here.
    const ConfigLoadResult loaded = loadConfiguration(configurationFilePath());
    m_config = loaded.config;
    m_configurationFileFound = loaded.fileExisted;
    for (const QString &notice : loaded.notices)
        m_status->setStatusText(notice);
    const QString portsError = readPortMap(programDirectory()).error;
    if (!portsError.isEmpty())
        m_status->setStatusText(portsError);
    if (m_simulator && !m_simulator->start())
        m_status->setStatusText(QStringLiteral("The simulated console could not be started."));
    openStationPort();
    emit configurationChanged();
    m_scheduler->start();
}

void Runtime::shutDown()
{
    m_scheduler->stop();
    m_portKeeper->close();
    if (m_simulator)
        m_simulator->stop();
}

void Runtime::setConfiguration(const Configuration &config)
{
    const bool portChanged = config.StationPort != m_config.StationPort;
    m_config = config;
    if (portChanged && !m_simulator)
        openStationPort();
    emit configurationChanged();
}

SetupSaveResult Runtime::saveSetup(const Configuration &config)
{
    const QString path = configurationFilePath();
    const ConfigSaveResult saved = saveConfiguration(path, config);
    if (!saved.field.isEmpty())
        return {saved.field, saved.reason, QString()};
    SetupSaveResult result;
    if (!saved.ok())
        result.message = QStringLiteral("The settings could not be saved to %1: %2. They apply "
                                        "until corvane is closed.")
                             .arg(QDir::toNativeSeparators(path), saved.reason);
    // Held as a later load would read them back, trimmed texts included.
    m_config = configurationAsSaved(config);
    if (!m_simulator)
        openStationPort();
    emit configurationChanged();
    emit setupSaved();
    return result;
}
