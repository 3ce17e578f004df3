// The sharing services side by side: MQTT, Weather Underground, PWSweather and CWOP, each
// on its own interval and off until turned on.
#pragma once

#include "sharing/sharingsettings.h"
#include "sharing/weatherreadings.h"

#include <QObject>
#include <array>
#include <functional>
#include <memory>

class Clock;
class ClockTimer;
class Job;
class MqttService;
class ReadingsRecord;
class TransferChannel;

// corvane's version, as the networks are told it.
QString corvaneVersion();

// A report that fails is said in the status line and, with its reason, as a failure; the
// next one comes on the next interval. A report still running when the next falls due is
// not doubled: that turn is skipped. Nothing here waits: each report is a job of steps.
class SharingServices : public QObject
{
    Q_OBJECT
public:
    using ChannelFactory = std::function<std::unique_ptr<TransferChannel>()>;

    // `httpChannel` makes the HTTP transfer channel of each weather network.
    SharingServices(Clock &clock, const ReadingsRecord &record, std::function<int()> displayUnits,
                    ChannelFactory httpChannel, QObject *parent = nullptr);
    ~SharingServices() override;

    void apply(const SharingSettings &settings);
    const SharingSettings &settings() const { return m_settings; }

    MqttService &mqtt() { return *m_mqtt; }
    RainHistory &rainHistory() { return m_rain; }

    enum Network { Wunderground, Pwsweather, Cwop };
    // Sends one report now, as its timer would.
    void report(Network network);
    bool isReporting(Network network) const;

signals:
    void statusText(const QString &text);
    void failure(const QString &reason);
    // A report is done, sent or not.
    void reported(Network network, bool sent);

private:
    struct Slot
    {
        std::unique_ptr<ClockTimer> timer;
        std::unique_ptr<TransferChannel> channel;
        std::unique_ptr<Job> run;
        int intervalMinutes = 0;
        bool enabled = false;
    };

    void arm(Network network, bool enabled, int intervalMinutes);
    std::unique_ptr<Job> newRun(Network network, const WeatherReadings &readings);
    void noteRain();
    static QString name(Network network);

    Clock &m_clock;
    const ReadingsRecord &m_record;
    std::function<int()> m_displayUnits;
    ChannelFactory m_httpChannel;
    SharingSettings m_settings;
    std::unique_ptr<MqttService> m_mqtt;
    RainHistory m_rain;
    std::array<Slot, 3> m_slots;
};
