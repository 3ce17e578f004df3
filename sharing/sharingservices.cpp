// The sharing services' timers and their reports.
#include "sharing/sharingservices.h"

#include "acquisition/readingsrecord.h"
#include "core/clock.h"
#include "core/datetimeformat.h"
#include "publishing/transferchannel.h"
#include "sharing/aprspacket.h"
#include "sharing/cwopupload.h"
#include "sharing/mqttservice.h"
#include "sharing/networkupload.h"

QString corvaneVersion()
{
    return QStringLiteral(CORVANE_VERSION);
}

SharingServices::SharingServices(Clock &clock, const ReadingsRecord &record,
                                 std::function<int()> displayUnits, ChannelFactory httpChannel,
                                 QObject *parent)
    : QObject(parent), m_clock(clock), m_record(record), m_displayUnits(std::move(displayUnits)),
      m_httpChannel(std::move(httpChannel))
{
    m_mqtt = std::make_unique<MqttService>(clock, record, m_displayUnits);
    connect(m_mqtt.get(), &MqttService::statusText, this, &SharingServices::statusText);
    connect(m_mqtt.get(), &MqttService::failure, this, &SharingServices::failure);
    for (int n = 0; n < int(m_slots.size()); ++n) {
        m_slots[n].timer = clock.createTimer();
        connect(m_slots[n].timer.get(), &ClockTimer::timeout, this,
                [this, n] { report(Network(n)); });
    }
    connect(&record, &ReadingsRecord::groupChanged, this, [this](SensorGroup group) {
        if (group == SensorGroup::Rain)
            noteRain();
    });
}

SharingServices::~SharingServices()
{
    for (Slot &slot : m_slots) {
        if (slot.run)
            slot.run->abandon();
    }
}

QString SharingServices::name(Network network)
{
    switch (network) {
    case Wunderground:
        return QStringLiteral("Weather Underground");
    case Pwsweather:
        return QStringLiteral("PWSweather");
    case Cwop:
        return QStringLiteral("CWOP");
    }
    return {};
}

void SharingServices::noteRain()
{
    const auto total = readingsFromRecord(m_record, m_displayUnits())[SharedField::RainTotal];
    if (total)
        m_rain.add(m_clock.now(), *total);
}

void SharingServices::apply(const SharingSettings &settings)
{
    m_settings = settings;
    m_mqtt->apply(settings.mqtt);
    arm(Wunderground, settings.wunderground.enabled, settings.wunderground.intervalMinutes);
    arm(Pwsweather, settings.pwsweather.enabled, settings.pwsweather.intervalMinutes);
    arm(Cwop, settings.cwop.enabled, std::max(settings.cwop.intervalMinutes, MinimumCwopMinutes));
}

void SharingServices::arm(Network network, bool enabled, int intervalMinutes)
{
    Slot &slot = m_slots[network];
    // An unchanged interval keeps its timer, so saving the setup does not put a report off.
    if (enabled == slot.enabled && intervalMinutes == slot.intervalMinutes &&
        slot.timer->isActive() == enabled)
        return;
    slot.enabled = enabled;
    slot.intervalMinutes = intervalMinutes;
    slot.timer->stop();
    if (!enabled)
        return;
    slot.timer->setInterval(intervalMinutes * 60 * 1000);
    slot.timer->start();
}

bool SharingServices::isReporting(Network network) const
{
    const Slot &slot = m_slots[network];
    return slot.run && slot.run->isRunning();
}

std::unique_ptr<Job> SharingServices::newRun(Network network, const WeatherReadings &readings)
{
    const QDateTime now = m_clock.now();
    const RainAmounts rain = rainAmounts(m_rain, now);
    const QString software = QStringLiteral("corvane ") + corvaneVersion();
    if (network == Cwop) {
        const CwopSettings &c = m_settings.cwop;
        return std::make_unique<CwopUpload>(m_clock, c.server, c.port,
                                            aprsLoginLine(c, corvaneVersion()),
                                            aprsWeatherPacket(c, readings, rain, now));
    }
    const WeatherNetworkSettings &n =
        network == Wunderground ? m_settings.wunderground : m_settings.pwsweather;
    Slot &slot = m_slots[network];
    if (!slot.channel)
        slot.channel = m_httpChannel();
    return std::make_unique<WeatherNetworkUpload>(
        *slot.channel, n.url, weatherNetworkQuery(n, readings, rain, now, software), n.password);
}

void SharingServices::report(Network network)
{
    Slot &slot = m_slots[network];
    if (isReporting(network)) {
        emit statusText(
            QStringLiteral("%1: skipped, the previous report is still running").arg(name(network)));
        return;
    }
    const WeatherReadings readings = readingsFromRecord(m_record, m_displayUnits());
    if (readings.isEmpty()) {
        emit statusText(QStringLiteral("%1: no readings to report yet").arg(name(network)));
        return;
    }
    slot.run = newRun(network, readings);
    Job *run = slot.run.get();
    connect(run, &Job::finished, this, [this, network, run] {
        const UploadResult result = network == Cwop
                                        ? static_cast<CwopUpload *>(run)->result()
                                        : static_cast<WeatherNetworkUpload *>(run)->result();
        const bool sent = result.kind == UploadResult::Sent;
        if (sent) {
            emit statusText(
                QStringLiteral("%1 updated %2").arg(name(network), generalDate(m_clock.now())));
        } else {
            emit statusText(QStringLiteral("%1 upload failed").arg(name(network)));
            emit failure(QStringLiteral("%1: %2%3")
                             .arg(name(network),
                                  result.kind == UploadResult::Refused
                                      ? QStringLiteral("the station ID or password was refused: ")
                                      : QString(),
                                  result.reason));
        }
        emit reported(network, sent);
    });
    run->start();
}
