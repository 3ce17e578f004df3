// The "Sharing" tab of the setup dialog.
#include "ui/sharingpage.h"

#include "ui/archivesettingsbox.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

template <typename W> W *named(W *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

QSpinBox *spinBox(const QString &name, int low, int high, const QString &suffix = {})
{
    auto *box = named(new QSpinBox, name);
    box->setRange(low, high);
    box->setSuffix(suffix);
    return box;
}

QDoubleSpinBox *degreesBox(const QString &name, double limit)
{
    auto *box = named(new QDoubleSpinBox, name);
    box->setRange(-limit, limit);
    box->setDecimals(5);
    box->setSuffix(QStringLiteral("°"));
    return box;
}

QLineEdit *passwordBox(const QString &name)
{
    auto *box = named(new QLineEdit, name);
    box->setEchoMode(QLineEdit::PasswordEchoOnEdit);
    return box;
}

} // namespace

SharingPage::SharingPage(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("SharingPage"));
    auto *inner = new QWidget;
    auto *column = new QVBoxLayout(inner);
    column->addWidget(buildMqtt());
    column->addWidget(buildNetwork(QStringLiteral("Wunderground"),
                                   QStringLiteral("Weather Underground"), m_wunderground));
    column->addWidget(
        buildNetwork(QStringLiteral("Pwsweather"), QStringLiteral("PWSweather"), m_pwsweather));
    column->addWidget(buildCwop());
    column->addWidget(new ArchiveSettingsBox);
    column->addStretch();
    // Five groups are taller than the other tabs: they scroll rather than stretch the dialog.
    auto *scroll = new QScrollArea;
    scroll->setWidget(inner);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
}

QWidget *SharingPage::buildMqtt()
{
    auto *box = named(new QGroupBox(QStringLiteral("MQTT")), QStringLiteral("MqttFrame"));
    auto *form = new QFormLayout(box);
    m_mqttEnabled = named(new QCheckBox(QStringLiteral("Publish to an MQTT broker")),
                          QStringLiteral("MqttEnabled"));
    m_mqttHost = named(new QLineEdit, QStringLiteral("MqttHost"));
    m_mqttPort = spinBox(QStringLiteral("MqttPort"), 1, 65535);
    m_mqttUser = named(new QLineEdit, QStringLiteral("MqttUser"));
    m_mqttPassword = passwordBox(QStringLiteral("MqttPassword"));
    m_mqttTls = named(new QCheckBox(QStringLiteral("TLS")), QStringLiteral("MqttTls"));
    m_mqttCaFile = named(new QLineEdit, QStringLiteral("MqttCaFile"));
    m_mqttStation = named(new QLineEdit, QStringLiteral("MqttStation"));
    m_mqttPrefix = named(new QLineEdit, QStringLiteral("MqttDiscoveryPrefix"));
    m_mqttInterval = spinBox(QStringLiteral("MqttInterval"), 5, 3600, QStringLiteral(" s"));
    form->addRow(m_mqttEnabled);
    form->addRow(QStringLiteral("Broker"), m_mqttHost);
    form->addRow(QStringLiteral("Port"), m_mqttPort);
    form->addRow(QStringLiteral("User Name"), m_mqttUser);
    form->addRow(QStringLiteral("Password"), m_mqttPassword);
    form->addRow(m_mqttTls);
    form->addRow(QStringLiteral("CA File"), m_mqttCaFile);
    form->addRow(QStringLiteral("Station Name"), m_mqttStation);
    form->addRow(QStringLiteral("Discovery Prefix"), m_mqttPrefix);
    form->addRow(QStringLiteral("Publish Interval"), m_mqttInterval);
    return box;
}

QWidget *SharingPage::buildNetwork(const QString &prefix, const QString &title, NetworkControls &c)
{
    auto *box = named(new QGroupBox(title), prefix + QStringLiteral("Frame"));
    auto *form = new QFormLayout(box);
    c.enabled = named(new QCheckBox(QStringLiteral("Upload to ") + title),
                      prefix + QStringLiteral("Enabled"));
    c.url = named(new QLineEdit, prefix + QStringLiteral("Url"));
    c.stationId = named(new QLineEdit, prefix + QStringLiteral("StationId"));
    c.password = passwordBox(prefix + QStringLiteral("Password"));
    c.interval =
        spinBox(prefix + QStringLiteral("Interval"), 1, 24 * 60, QStringLiteral(" minutes"));
    form->addRow(c.enabled);
    form->addRow(QStringLiteral("Address"), c.url);
    form->addRow(QStringLiteral("Station ID"), c.stationId);
    form->addRow(QStringLiteral("Password"), c.password);
    form->addRow(QStringLiteral("Upload Interval"), c.interval);
    return box;
}

QWidget *SharingPage::buildCwop()
{
    auto *box = named(new QGroupBox(QStringLiteral("CWOP (APRS-IS)")), QStringLiteral("CwopFrame"));
    auto *form = new QFormLayout(box);
    m_cwopEnabled =
        named(new QCheckBox(QStringLiteral("Report to CWOP")), QStringLiteral("CwopEnabled"));
    m_cwopServer = named(new QLineEdit, QStringLiteral("CwopServer"));
    m_cwopPort = spinBox(QStringLiteral("CwopPort"), 1, 65535);
    m_cwopCallsign = named(new QLineEdit, QStringLiteral("CwopCallsign"));
    m_cwopPasscode = named(new QLineEdit, QStringLiteral("CwopPasscode"));
    m_cwopLatitude = degreesBox(QStringLiteral("CwopLatitude"), 90);
    m_cwopLongitude = degreesBox(QStringLiteral("CwopLongitude"), 180);
    m_cwopInterval = spinBox(QStringLiteral("CwopInterval"), MinimumCwopMinutes, 24 * 60,
                             QStringLiteral(" minutes"));
    form->addRow(m_cwopEnabled);
    form->addRow(QStringLiteral("Server"), m_cwopServer);
    form->addRow(QStringLiteral("Port"), m_cwopPort);
    form->addRow(QStringLiteral("Call Sign"), m_cwopCallsign);
    form->addRow(QStringLiteral("Passcode"), m_cwopPasscode);
    form->addRow(QStringLiteral("Latitude (north +)"), m_cwopLatitude);
    form->addRow(QStringLiteral("Longitude (east +)"), m_cwopLongitude);
    form->addRow(QStringLiteral("Report Interval"), m_cwopInterval);
    return box;
}

void SharingPage::loadNetwork(const NetworkControls &c, const WeatherNetworkSettings &n)
{
    c.enabled->setChecked(n.enabled);
    c.url->setText(n.url);
    c.stationId->setText(n.stationId);
    c.password->setText(n.password);
    c.interval->setValue(n.intervalMinutes);
}

WeatherNetworkSettings SharingPage::editedNetwork(const NetworkControls &c,
                                                  WeatherNetworkSettings n)
{
    n.enabled = c.enabled->isChecked();
    n.url = c.url->text().trimmed();
    n.stationId = c.stationId->text().trimmed();
    n.password = c.password->text();
    n.intervalMinutes = c.interval->value();
    return n;
}

void SharingPage::load(const SharingSettings &settings)
{
    m_loaded = settings;
    const MqttSettings &m = settings.mqtt;
    m_mqttEnabled->setChecked(m.enabled);
    m_mqttHost->setText(m.host);
    m_mqttPort->setValue(m.port);
    m_mqttUser->setText(m.userName);
    m_mqttPassword->setText(m.password);
    m_mqttTls->setChecked(m.tls);
    m_mqttCaFile->setText(m.caFile);
    m_mqttStation->setText(m.station);
    m_mqttPrefix->setText(m.discoveryPrefix);
    m_mqttInterval->setValue(m.intervalSeconds);
    loadNetwork(m_wunderground, settings.wunderground);
    loadNetwork(m_pwsweather, settings.pwsweather);
    const CwopSettings &c = settings.cwop;
    m_cwopEnabled->setChecked(c.enabled);
    m_cwopServer->setText(c.server);
    m_cwopPort->setValue(c.port);
    m_cwopCallsign->setText(c.callsign);
    m_cwopPasscode->setText(c.passcode);
    m_cwopLatitude->setValue(c.latitude);
    m_cwopLongitude->setValue(c.longitude);
    m_cwopInterval->setValue(c.intervalMinutes);
}

SharingSettings SharingPage::edited() const
{
    SharingSettings s = m_loaded;
    MqttSettings &m = s.mqtt;
    m.enabled = m_mqttEnabled->isChecked();
    m.host = m_mqttHost->text().trimmed();
    m.port = m_mqttPort->value();
    m.userName = m_mqttUser->text().trimmed();
    m.password = m_mqttPassword->text();
    m.tls = m_mqttTls->isChecked();
    m.caFile = m_mqttCaFile->text().trimmed();
    m.station = m_mqttStation->text().trimmed();
    m.discoveryPrefix = m_mqttPrefix->text().trimmed();
    m.intervalSeconds = m_mqttInterval->value();
    s.wunderground = editedNetwork(m_wunderground, s.wunderground);
    s.pwsweather = editedNetwork(m_pwsweather, s.pwsweather);
    CwopSettings &c = s.cwop;
    c.enabled = m_cwopEnabled->isChecked();
    c.server = m_cwopServer->text().trimmed();
    c.port = m_cwopPort->value();
    c.callsign = m_cwopCallsign->text().trimmed().toUpper();
    c.passcode = m_cwopPasscode->text().trimmed();
    // The spin boxes show five decimals; an untouched box keeps the loaded value exactly.
    if (m_cwopLatitude->value() != QString::number(c.latitude, 'f', 5).toDouble())
        c.latitude = m_cwopLatitude->value();
    if (m_cwopLongitude->value() != QString::number(c.longitude, 'f', 5).toDouble())
        c.longitude = m_cwopLongitude->value();
    c.intervalMinutes = m_cwopInterval->value();
    return s;
}

bool SharingPage::changed() const
{
    const SharingSettings s = edited();
    return s.mqtt != m_loaded.mqtt || s.wunderground != m_loaded.wunderground ||
           s.pwsweather != m_loaded.pwsweather || s.cwop != m_loaded.cwop;
}
