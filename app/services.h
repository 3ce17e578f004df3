// The jobs that talk to the outside world, plugged into a Runtime: the transfer channels and the
// publishing pass, the forecast, dial-up control and the pagers. Desktop and headless share it.
#pragma once

#include <QObject>
#include <QString>
#include <memory>

class Runtime;
class Archive;
class TransferChannel;
class Publisher;
class DialupControl;
class PagingJob;
class SerialPort;
class SimulatedPagingService;
class TransferLog;
class SharingServices;
struct RunOptions;

class Services : public QObject
{
    Q_OBJECT
public:
    // With options.simulate the pager port is attached to the built-in simulated modem and
    // paging service, whatever PagerPort says.
    Services(Runtime &runtime, const RunOptions &options, QObject *parent = nullptr);
    ~Services() override;

    Publisher &publisher() { return *m_publisher; }
    DialupControl &dialup() { return *m_dialup; }
    PagingJob &paging() { return *m_paging; }
    // Why transfers failed, and what they noted: the desktop lists it, headless prints it.
    TransferLog &transferLog() { return *m_transferLog; }
    // The device the pager port was last given (Comm2's); empty before its first use.
    QString pagerDevicePath() const;
    // The shared PostgreSQL archive each written record pair also goes to, when enabled.
    Archive &archive() { return *m_archive; }
    // Null unless simulating.
    SimulatedPagingService *simulatedPagingService() { return m_pagingService.get(); }
    // MQTT and the weather networks, as corvane.conf sets them.
    SharingServices &sharing() { return *m_sharing; }

private:
    void applyConfiguration();
    void applyTransferTrust();
    void applySharing();
    void applyArchive();

    Runtime &m_runtime;
    std::unique_ptr<SimulatedPagingService> m_pagingService;
    std::unique_ptr<TransferLog> m_transferLog; // outlives the channels that write to it
    std::unique_ptr<TransferChannel> m_inet1;
    std::unique_ptr<TransferChannel> m_inet2;
    std::unique_ptr<TransferChannel> m_inet3;
    std::unique_ptr<DialupControl> m_dialup;
    std::unique_ptr<Publisher> m_publisher;
    std::unique_ptr<SerialPort> m_comm2;
    std::unique_ptr<PagingJob> m_paging;
    std::unique_ptr<SharingServices> m_sharing;
    std::unique_ptr<Archive> m_archive;
    QString m_archiveFailure; // the reason last logged, so a lasting one is logged once
};
