// The [archive] settings of "corvane.conf" as a group of fields, ready to sit on a setup page.
#pragma once

#include "archive/archivesettings.h"

#include <QGroupBox>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QLabel;

class ArchiveSettingsBox : public QGroupBox
{
    Q_OBJECT
public:
    explicit ArchiveSettingsBox(QWidget *parent = nullptr);

    void setSettings(const ArchiveSettings &settings);
    ArchiveSettings settings() const;

    // A line under the fields: how the archive fares ("stored", "failed: why").
    void setStatusText(const QString &text);

private:
    void updateEnabled();

    QCheckBox *m_enabled;
    QLineEdit *m_host;
    QSpinBox *m_port;
    QLineEdit *m_database;
    QLineEdit *m_user;
    QLineEdit *m_password;
    QLineEdit *m_station;
    QComboBox *m_sslmode;
    QLabel *m_status;
};
