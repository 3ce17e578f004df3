// The archive's fields.
#include "ui/archivesettingsbox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QSysInfo>

namespace {

QLineEdit *lineEdit(const char *name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

} // namespace

ArchiveSettingsBox::ArchiveSettingsBox(QWidget *parent)
    : QGroupBox(tr("PostgreSQL Archive"), parent),
      m_enabled(new QCheckBox(tr("Also store each logged record pair in the archive"), this)),
      m_host(lineEdit("archiveHost", this)), m_port(new QSpinBox(this)),
      m_database(lineEdit("archiveDatabase", this)), m_user(lineEdit("archiveUser", this)),
      m_password(lineEdit("archivePassword", this)), m_station(lineEdit("archiveStation", this)),
      m_sslmode(new QComboBox(this)), m_status(new QLabel(this))
{
    setObjectName(QStringLiteral("ArchiveSettingsBox"));
    m_enabled->setObjectName(QStringLiteral("archiveEnabled"));
    m_port->setObjectName(QStringLiteral("archivePort"));
    m_port->setRange(1, 65535);
    m_password->setEchoMode(QLineEdit::Password);
    m_station->setPlaceholderText(QSysInfo::machineHostName());
    m_sslmode->setObjectName(QStringLiteral("archiveSslMode"));
    m_sslmode->addItems({QStringLiteral("disable"), QStringLiteral("allow"),
                         QStringLiteral("prefer"), QStringLiteral("require"),
                         QStringLiteral("verify-ca"), QStringLiteral("verify-full")});
    m_status->setObjectName(QStringLiteral("archiveStatus"));
    m_status->setWordWrap(true);

    auto *form = new QFormLayout(this);
    form->addRow(m_enabled);
    form->addRow(tr("Server"), m_host);
    form->addRow(tr("Port"), m_port);
    form->addRow(tr("Database"), m_database);
    form->addRow(tr("User"), m_user);
    form->addRow(tr("Password"), m_password);
    form->addRow(tr("Station name"), m_station);
    form->addRow(tr("SSL mode"), m_sslmode);
    form->addRow(m_status);

    connect(m_enabled, &QCheckBox::toggled, this, &ArchiveSettingsBox::updateEnabled);
    setSettings(ArchiveSettings{});
}

void ArchiveSettingsBox::setSettings(const ArchiveSettings &s)
{
    m_enabled->setChecked(s.enabled);
    m_host->setText(s.host);
    m_port->setValue(s.port);
    m_database->setText(s.database);
    m_user->setText(s.user);
    m_password->setText(s.password);
    m_station->setText(s.station);
    m_sslmode->setCurrentText(s.sslmode);
    updateEnabled();
}

ArchiveSettings ArchiveSettingsBox::settings() const
{
    ArchiveSettings s;
    s.enabled = m_enabled->isChecked();
    s.host = m_host->text().trimmed();
    s.port = m_port->value();
    s.database = m_database->text().trimmed();
    s.user = m_user->text().trimmed();
    s.password = m_password->text();
    s.station = m_station->text().trimmed();
    s.sslmode = m_sslmode->currentText();
    return s;
}

void ArchiveSettingsBox::setStatusText(const QString &text)
{
    m_status->setText(text);
}

void ArchiveSettingsBox::updateEnabled()
{
    const bool on = m_enabled->isChecked();
    for (QWidget *w : std::initializer_list<QWidget *>{m_host, m_port, m_database, m_user,
                                                       m_password, m_station, m_sslmode})
        w->setEnabled(on);
}
