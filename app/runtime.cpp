// Building the engine and running its start-up steps.
#include "app/runtime.h"

#include "acquisition/readingsrecord.h"
#include "acquisition/serialport.h"
#include "acquisition/simulatedconsole.h"
#include "acquisition/stationlink.h"
#include "config/configfile.h"
#include "core/clock.h"
#include "core/programdir.h"
#include "core/statusboard.h"
#include "logging/logwriter.h"
#include "scheduler/logjobs.h"
#include "scheduler/scheduledjobs.h"
#include "scheduler/scheduler.h"

// The scheduler's view of the jobs: the log writer, and whatever the publishing, paging
// and graph subsystems have plugged in.
class Runtime::Jobs final : public ScheduledJobs, public LogJobs
{
public:
    explicit Jobs(LogWriter &log) : m_log(log) {}

    std::function<void()> publishing;
    std::function<void(PagerFlags &)> pagerChecks;
    std::function<void()> graphs;
    PagerFlags *pagerFlags = nullptr;

    void PublishWebPages() override
    {
        if (publishing)
            publishing();
    }
    void CheckPagers() override
    {
        if (pagerChecks && pagerFlags)
            pagerChecks(*pagerFlags);
    }
    void GenerateDailyGraphs() override
    {
        if (graphs)
            graphs();
    }
    void createMonthDatabase(const QDate &date) override { m_log.ensureMonthDatabase(date); }
    void writeLogRecords() override { m_log.writeLogRecords(); }

private:
    LogWriter &m_log;
};

Runtime::Runtime(Clock &clock, const RunOptions &options, QObject *parent)
    : QObject(parent), m_clock(clock), m_options(options),
      m_record(std::make_unique<ReadingsRecord>()), m_status(std::make_unique<StatusBoard>())
{
    if (options.simulate)
        m_simulator = std::make_unique<SimulatedConsole>(clock, options.simulatorSeed);
    m_stationPort = createSerialPort();
    // Asked on every frame, so a saved change of units applies from the next frame.
    m_stationLink = std::make_unique<StationLink>(*m_stationPort, clock, *m_record,
                                                  [this] { return int(m_config.DisplayUnits); });
    m_logWriter = std::make_unique<LogWriter>(clock, *m_record, *m_status, programDirectory());
    m_jobs = std::make_unique<Jobs>(*m_logWriter);
    m_scheduler = std::make_unique<Scheduler>(clock, m_config, *m_jobs, *m_jobs);
    m_jobs->pagerFlags = &m_scheduler->pagerFlags();

    connect(m_stationPort.get(), &SerialPort::lost, this, [this](const QString &why) {
        m_status->setStatusText(
            QStringLiteral("Station port %1 lost: %2").arg(m_stationPort->devicePath(), why));
    });
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

void Runtime::setPublishing(std::function<void()> job)
{
    m_jobs->publishing = std::move(job);
}

void Runtime::setPagerChecks(std::function<void(PagerFlags &)> job)
{
    m_jobs->pagerChecks = std::move(job);
}

void Runtime::setGraphs(std::function<void()> job)
{
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
    m_stationPort->close();
    const QString device = stationDeviceFor(m_config);
    m_stationPort->setDevicePath(device);
    if (device.isEmpty()) {
        m_status->setStatusText(QStringLiteral("No station port is set."));
        return;
    }
    m_stationPort->setSettings(SerialSettings{}); // 9600 baud, no parity, 8 data bits
    if (!m_stationPort->open())
        m_status->setStatusText(QStringLiteral("Station port %1 could not be opened: %2")
                                    .arg(device, m_stationPort->errorString()));
}

void Runtime::startUp()
{
    // A missing or short file leaves the defaults of what it did not give. A refused file,
    // or one that others can read, is told about once, here.
    const ConfigLoadResult loaded = loadConfiguration(configurationFilePath());
    m_config = loaded.config;
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
    if (m_stationPort->isOpen())
        m_stationPort->close();
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
