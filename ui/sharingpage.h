// The setup dialog's "Sharing" tab: MQTT and the three weather networks. It edits a
// SharingSettings value; writing "corvane.conf" and applying it are the program's business.
#pragma once

#include "sharing/sharingsettings.h"

#include <QWidget>

class QCheckBox;
class QDoubleSpinBox;
class QLineEdit;
class QSpinBox;

class SharingPage : public QWidget
{
    Q_OBJECT
public:
    explicit SharingPage(QWidget *parent = nullptr);

    void load(const SharingSettings &settings);
    // The loaded value with the controls' values.
    SharingSettings edited() const;
    // Whether edited() differs from what load() gave.
    bool changed() const;

private:
    struct NetworkControls
    {
        QCheckBox *enabled = nullptr;
        QLineEdit *url = nullptr;
        QLineEdit *stationId = nullptr;
        QLineEdit *password = nullptr;
        QSpinBox *interval = nullptr;
    };

    QWidget *buildMqtt();
    QWidget *buildNetwork(const QString &prefix, const QString &title, NetworkControls &c);
    QWidget *buildCwop();
    static void loadNetwork(const NetworkControls &c, const WeatherNetworkSettings &n);
    static WeatherNetworkSettings editedNetwork(const NetworkControls &c, WeatherNetworkSettings n);

    SharingSettings m_loaded;
    QCheckBox *m_mqttEnabled = nullptr;
    QLineEdit *m_mqttHost = nullptr;
    QSpinBox *m_mqttPort = nullptr;
    QLineEdit *m_mqttUser = nullptr;
    QLineEdit *m_mqttPassword = nullptr;
    QCheckBox *m_mqttTls = nullptr;
    QLineEdit *m_mqttCaFile = nullptr;
    QLineEdit *m_mqttStation = nullptr;
    QLineEdit *m_mqttPrefix = nullptr;
    QSpinBox *m_mqttInterval = nullptr;
    NetworkControls m_wunderground;
    NetworkControls m_pwsweather;
    QCheckBox *m_cwopEnabled = nullptr;
    QLineEdit *m_cwopServer = nullptr;
    QSpinBox *m_cwopPort = nullptr;
    QLineEdit *m_cwopCallsign = nullptr;
    QLineEdit *m_cwopPasscode = nullptr;
    QDoubleSpinBox *m_cwopLatitude = nullptr;
    QDoubleSpinBox *m_cwopLongitude = nullptr;
    QSpinBox *m_cwopInterval = nullptr;
};
