// The setup dialog's fax tab: the five fax logs, deleting from them, and the device window.
#include "ui/newsetup.h"

#include "core/datetimeformat.h"
#include "fax/faxdevice.h"
#include "fax/faxlog.h"
#include "ui/frmdevices.h"

#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

namespace {

FaxLogName chosenLog(const QComboBox *selector)
{
    return FaxLogName(qBound(0, selector->currentIndex(), int(FaxLogName::Received)));
}

QString outcome(const FaxLogEntry &e)
{
    if (e.exitStatus < 0)
        return e.message;
    return QStringLiteral("%1 (efax %2)").arg(e.message).arg(e.exitStatus);
}

} // namespace

QWidget *NewSetup::buildFaxPage()
{
    auto *box = new QGroupBox(QStringLiteral("Fax Settings"));
    box->setObjectName(QStringLiteral("Frame6"));
    auto *form = new QFormLayout(box);
    m_faxLog = new QComboBox;
    m_faxLog->setObjectName(QStringLiteral("Combo1"));
    m_faxLog->addItems({QStringLiteral("Pending"), QStringLiteral("Sending"),
                        QStringLiteral("Completed"), QStringLiteral("Failed"),
                        QStringLiteral("Received")});
    form->addRow(QStringLiteral("Current Fax Log File"), m_faxLog);

    // The fax component's face on the tab: the entries of the chosen log, oldest first.
    m_faxEntries = new QTreeWidget;
    m_faxEntries->setObjectName(QStringLiteral("FaxMan"));
    m_faxEntries->setRootIsDecorated(false);
    m_faxEntries->setHeaderLabels({QStringLiteral("Number"), QStringLiteral("Queued"),
                                   QStringLiteral("Finished"), QStringLiteral("Device"),
                                   QStringLiteral("Result")});
    m_faxEntries->header()->setStretchLastSection(true);
    form->addRow(m_faxEntries);

    const struct
    {
        const char *name;
        const char *caption;
        void (NewSetup::*slot)();
    } buttons[] = {{"Command3", "Delete Current Entry", &NewSetup::deleteFaxEntry},
                   {"Command4", "Delete Entire Log", &NewSetup::deleteFaxLog},
                   {"Command5", "Fax Devices", &NewSetup::openFaxDevices}};
    auto *row = new QHBoxLayout;
    for (const auto &b : buttons) {
        auto *button = new QPushButton(QString::fromLatin1(b.caption));
        button->setObjectName(QString::fromLatin1(b.name));
        button->setAutoDefault(false);
        button->setEnabled(false); // until a fax component is attached
        connect(button, &QPushButton::clicked, this, b.slot);
        row->addWidget(button);
        m_faxTools << button;
    }
    row->addStretch();
    form->addRow(row);

    connect(m_faxLog, &QComboBox::currentIndexChanged, this, &NewSetup::showFaxLog);
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int tab) {
        if (tab == FaxTab)
            showFaxLog();
    });
    return box;
}

void NewSetup::attachFax(FaxDevice *fax, const QString &programDir)
{
    if (m_fax)
        m_fax->disconnect(this);
    m_fax = fax;
    m_faxDir = programDir;
    for (QPushButton *b : m_faxTools)
        b->setEnabled(fax != nullptr);
    if (fax) {
        // A fax moves from log to log as it goes; the list follows.
        connect(fax, &FaxDevice::detectionFinished, this, &NewSetup::showFaxLog);
        connect(fax, &FaxDevice::sendFinished, this, &NewSetup::showFaxLog);
    }
    showFaxLog();
}

void NewSetup::showFaxLog()
{
    const int current = m_faxEntries->currentIndex().row();
    m_faxEntries->clear();
    if (!m_fax)
        return;
    const QList<FaxLogEntry> entries =
        FaxLog(QDir(m_faxDir).filePath(FaxLogFileName)).entries(chosenLog(m_faxLog));
    for (const FaxLogEntry &e : entries) {
        m_faxEntries->addTopLevelItem(new QTreeWidgetItem(
            {e.number, e.queued.isValid() ? generalDate(e.queued) : QString(),
             e.finished.isValid() ? generalDate(e.finished) : QString(), e.device, outcome(e)}));
    }
    // As the fax component has it, there is always a current entry while there are any.
    if (!entries.isEmpty())
        m_faxEntries->setCurrentItem(
            m_faxEntries->topLevelItem(qBound(0, current, int(entries.size()) - 1)));
}

void NewSetup::deleteFaxEntry()
{
    const int current = m_faxEntries->currentIndex().row();
    if (!m_fax || current < 0)
        return;
    const FaxResult deleted =
        FaxLog(QDir(m_faxDir).filePath(FaxLogFileName)).deleteEntry(chosenLog(m_faxLog), current);
    if (!deleted.ok())
        showMessage(QStringLiteral("The entry could not be deleted: %1").arg(deleted.error));
    showFaxLog();
}

void NewSetup::deleteFaxLog()
{
    if (!m_fax)
        return;
    const FaxResult deleted =
        FaxLog(QDir(m_faxDir).filePath(FaxLogFileName)).deleteLog(chosenLog(m_faxLog));
    if (!deleted.ok())
        showMessage(QStringLiteral("The log could not be emptied: %1").arg(deleted.error));
    showFaxLog();
}

void NewSetup::openFaxDevices()
{
    if (!m_fax)
        return;
    // A new window each time, so that each opening detects and preselects afresh.
    auto *devices = new FrmDevices(*m_fax, m_faxDir, this);
    devices->setAttribute(Qt::WA_DeleteOnClose);
    devices->open();
}
