// The fax device window.
#include "ui/frmdevices.h"

#include "fax/faxconfig.h"
#include "fax/faxdevice.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

FrmDevices::FrmDevices(FaxDevice &fax, const QString &programDir, QWidget *parent)
    : QDialog(parent), m_fax(fax), m_programDir(programDir), m_group(new QButtonGroup(this)),
      m_status(new QLabel)
{
    setObjectName(QStringLiteral("frmDevices"));
    setWindowTitle(QStringLiteral("Corvane Fax Device Configuration"));

    auto *layout = new QVBoxLayout(this);
    for (int i = 0; i < FaxDevice::MaxDevices; ++i) {
        auto *option = new QRadioButton;
        option->setObjectName(QStringLiteral("Option1"));
        option->setProperty("index", i);
        m_group->addButton(option, i);
        m_options << option;
        layout->addWidget(option);
    }
    m_status->setObjectName(QStringLiteral("lblStatus"));
    layout->addWidget(m_status);

    auto *buttons = new QHBoxLayout;
    const struct
    {
        const char *name;
        const char *caption;
        void (FrmDevices::*slot)();
    } commands[] = {{"cmdAutoConfigure", "&Auto Configure", &FrmDevices::autoConfigure},
                    {"cmdSave", "Save", &FrmDevices::save},
                    {"cmdOK", "OK", &QDialog::accept}};
    for (const auto &c : commands) {
        auto *button = new QPushButton(QString::fromLatin1(c.caption));
        button->setObjectName(QString::fromLatin1(c.name));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, c.slot);
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);

    connect(&m_fax, &FaxDevice::statusChanged, m_status, &QLabel::setText);
    connect(&m_fax, &FaxDevice::detectionFinished, this, &FrmDevices::detected);
}

void FrmDevices::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_opened)
        return;
    m_opened = true;
    if (QScreen *s = screen()) {
        // The outer frame is what is centred, as its position is what move() sets.
        const QRect area = s->geometry();
        const QSize outer = frameGeometry().size();
        move(area.x() + (area.width() - outer.width()) / 2,
             area.y() + (area.height() - outer.height()) / 2);
    }
    m_preselect = true;
    autoConfigure();
}

void FrmDevices::autoConfigure()
{
    // The window waits for detectionFinished; the program runs on meanwhile.
    m_fax.AutoDetect();
}

void FrmDevices::detected()
{
    for (int i = 0; i < qMin(m_fax.DeviceCount(), int(m_options.size())); ++i)
        m_options[i]->setText(m_fax.Devices(i) + QStringLiteral("   "));
    if (!m_preselect)
        return;
    m_preselect = false;
    const std::optional<int> stored = readFaxConfig(m_programDir);
    if (stored && *stored >= 0 && *stored < m_options.size())
        m_options[*stored]->setChecked(true);
}

int FrmDevices::selectedIndex() const
{
    return m_group->checkedId();
}

void FrmDevices::save()
{
    const int index = selectedIndex();
    const FaxResult written =
        writeFaxConfig(m_programDir, index >= 0 ? std::optional<int>(index) : std::nullopt);
    if (!written.ok()) {
        m_status->setText(written.error);
        return;
    }
    m_fax.setDeviceIndex(index >= 0 ? index : 0);
}
