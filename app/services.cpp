// Wiring of the publishing, dial-up and paging jobs into the runtime.
#include "app/services.h"

#include "app/commands.h"
#include "app/runtime.h"

#include "acquisition/readingsrecord.h"
#include "acquisition/serialport.h"
#include "app/devices.h"
#include "archive/archive.h"
#include "config/sidesettings.h"
#include "core/programdir.h"
#include "core/statusboard.h"
#include "core/transferlog.h"
#include "dialup/dialupcontrol.h"
#include "graphs/dailygraphs.h"
#include "logging/logwriter.h"
#include "paging/pagingjob.h"
#include "publishing/forecast.h"
#include "publishing/publisher.h"
#include "publishing/publishpass.h"
#include "publishing/transferchannel.h"
#include "publishing/transferstatus.h"
#include "reports/noaareport.h"
#include "scheduler/scheduledjobs.h"
#include "sharing/sharingservices.h"
#include "simulator/simulatedpagingservice.h"

namespace {

// With [noaa] upload=true in corvane.conf, the month's and year's climate summaries go up
// after the daily graphs; the setting is read at each run, like the rest of that file.
QStringList noaaFilesToUpload(Runtime &runtime, const QDate &today)
{
    if (!readSideSettings(sideSettingsFilePath()).noaa.upload)
        return {};
    NoaaOptions options;
    options.directory = programDirectory();
    options.units.metric = runtime.configuration().metric();
    options.intervalMinutes = runtime.configuration().LoggingInterval;
    options.now = runtime.clock().now();
    QStringList problems;
    const QStringList files = writeNoaaFiles(today, options, &problems);
    for (const QString &p : problems)
        runtime.status().setStatusText(p);
    return files;
}

} // namespace

Services::Services(Runtime &runtime, const RunOptions &options, QObject *parent)
    : QObject(parent), m_runtime(runtime)
{
    Clock &clock = runtime.clock();
    const Configuration &config = runtime.configuration();

    if (options.simulate) {
        m_pagingService = std::make_unique<SimulatedPagingService>(clock);
        if (!m_pagingService->start())
            runtime.status().setStatusText(
                QStringLiteral("The simulated paging service could not open a pseudo-terminal."));
    }

    // Inet1 and Inet3 upload pages and graphs by FTP; Inet2 fetches the forecast by HTTP.
    const DeviceFactories &devices = runtime.devices();
    m_inet1 = devices.transferChannel(TransferProtocol::Ftp);
    m_inet2 = devices.transferChannel(TransferProtocol::Http);
    m_inet3 = devices.transferChannel(TransferProtocol::Ftp);
    m_transferLog = std::make_unique<TransferLog>();
    for (TransferChannel *channel : {m_inet1.get(), m_inet2.get(), m_inet3.get()})
        logTransferReasons(*channel, clock, runtime.status(), *m_transferLog);
    m_dialup = std::make_unique<DialupControl>(clock, runtime.status());
    m_publisher = std::make_unique<Publisher>(clock, config, runtime.record(), runtime.status(),
                                              *m_inet1, *m_inet2, *m_inet3);
    DialupControl *dialup = m_dialup.get();
    m_publisher->setHangupArm([dialup] { dialup->armHangupTimer(); });

    m_comm2 = devices.serialPort();
    ModemPagerWiring wiring;
    wiring.port = m_comm2.get();
    SimulatedPagingService *service = m_pagingService.get();
    wiring.devicePathForPort = [service](int port) {
        if (service && !service->devicePath().isEmpty())
            return service->devicePath();
        return devicePathForPort(port, programDirectory());
    };
    wiring.hangUpDialup = [dialup] { dialup->HangUpDialup(); };
    Publisher *publisher = m_publisher.get();
    m_paging =
        std::make_unique<PagingJob>(config, runtime.record(), clock, runtime.status(), wiring,
                                    [publisher] { return publisher->forecast().text(); });

    runtime.setPublishing([publisher] { return publisher->createPass(); });
    PagingJob *paging = m_paging.get();
    runtime.setPaging([paging] { return paging->CheckPagers(); },
                      [paging] { paging->clearPageSentFlags(); });

    Runtime *engine = &runtime;
    runtime.setGraphs([engine, publisher]() -> std::unique_ptr<Job> {
        auto run = std::make_unique<DailyGraphs>(
            engine->clock(), engine->configuration(), engine->status(), programDirectory(),
            [publisher](const QString &local, const QString &remote) {
                return publisher->uploadGraph(local, remote);
            });
        QObject::connect(publisher, &Publisher::graphUploadDone, run.get(),
                         &DailyGraphs::graphUploadDone);
        run->setExtraFiles([engine](const QDate &today) { return noaaFilesToUpload(*engine, today); });
        return run;
    });

    // The weather is shared from the readings as they arrive, beside the scheduler's jobs.
    m_sharing = std::make_unique<SharingServices>(
        clock, runtime.record(), [engine] { return int(engine->configuration().DisplayUnits); },
        [engine] { return engine->devices().transferChannel(TransferProtocol::Http); });
    StatusBoard *status = &runtime.status();
    connect(m_sharing.get(), &SharingServices::statusText, status, &StatusBoard::setStatusText);
    connect(m_sharing.get(), &SharingServices::failure, m_transferLog.get(),
            [this](const QString &reason) {
                m_transferLog->add({m_runtime.clock().now(), reason, TransferLogEntry::Failure});
            });
    // The archive works on a thread of its own; the logging pass only hands the pair over.
    m_archive = std::make_unique<Archive>(clock, programFile(QStringLiteral("archive-queue.jsonl")));
    Archive *archive = m_archive.get();
    runtime.logWriter().setPairWritten(
        [archive](const QDateTime &outdoorAt, const QDateTime &indoorAt,
                  const LogWriter::PairValues &values) { archive->add(outdoorAt, indoorAt, values); });
    connect(archive, &Archive::failed, this, [this](const QString &reason, qint64 pending) {
        if (reason == m_archiveFailure)
            return;
        m_archiveFailure = reason;
        qWarning("corvane: archive: %s; %lld pairs queued", qPrintable(reason), pending);
        m_transferLog->add({m_runtime.clock().now(),
                            QStringLiteral("Archive: %1 (%2 record pairs queued, tried again later)")
                                .arg(reason)
                                .arg(pending),
                            TransferLogEntry::Failure});
    });
    connect(archive, &Archive::stored, this, [this](int pairs, qint64) {
        if (m_archiveFailure.isEmpty())
            return;
        m_archiveFailure.clear();
        m_transferLog->add({m_runtime.clock().now(),
                            QStringLiteral("Archive: reachable again, %1 queued record pairs stored")
                                .arg(pairs),
                            TransferLogEntry::Note});
    });

    connect(&runtime, &Runtime::configurationChanged, this, &Services::applyConfiguration);
    connect(&runtime, &Runtime::setupSaved, this, [this] {
        if (!m_paging->pager().reopenPort())
            m_runtime.status().setStatusText(
                QStringLiteral("Pager port %1 could not be opened: %2")
                    .arg(m_comm2->devicePath(), m_comm2->errorString()));
    });
}

Services::~Services()
{
    // The scheduler's runs use the pager and the publisher, the paging job uses the port,
    // the publisher the channels: end them first.
    m_runtime.logWriter().setPairWritten({});
    m_archive.reset();
    m_runtime.setGraphs({});
    m_runtime.setPaging({}, {});
    m_runtime.setPublishing({});
    m_sharing.reset();
    m_paging.reset();
    m_comm2.reset();
    m_publisher.reset();
}

QString Services::pagerDevicePath() const
{
    return m_comm2 ? m_comm2->devicePath() : QString();
}

void Services::applyConfiguration()
{
    // Both FTP channels take the saved settings, so graph uploads follow a new server too.
    m_publisher->applyFtpSettings(m_runtime.configuration());
    applyTransferTrust();
    applySharing();
    applyArchive();
}

void Services::applySharing()
{
    // Its problems are listed with the others of corvane.conf, by applyTransferTrust().
    m_sharing->apply(readSideSettings(sideSettingsFilePath()).sharing);
}

void Services::applyArchive()
{
    const ArchiveSettings settings = readSideSettings(sideSettingsFilePath()).archive;
    if (settings != m_archive->settings())
        m_archive->setSettings(settings);
}

void Services::applyTransferTrust()
{
    // corvane.conf is read again with each saved setup: a new pin needs no restart.
    const SideSettings side = readSideSettings(sideSettingsFilePath());
    const TransferTrust trust{programFile(QStringLiteral("known_hosts")), side.ftps.caFile,
                              side.ftps.pinnedKey};
    m_inet1->setTrust(trust);
    m_inet3->setTrust(trust);
    for (const QString &problem : side.problems)
        m_transferLog->add({m_runtime.clock().now(), QStringLiteral("corvane.conf: ") + problem,
                            TransferLogEntry::Failure});
}
