// Showing the setup dialog and carrying out its "Save" and "Exit".
#include "app/setupcontroller.h"

#include "acquisition/serialport.h"
#include "app/runtime.h"
#include "config/sidesettings.h"
#include "core/programdir.h"
#include "ui/newsetup.h"
#include "ui/sharingpage.h"
#include "ui/archivesettingsbox.h"
#include "ui/wx.h"

#include <QDir>
#include <QTabWidget>
#include <QTimer>
#include <memory>

SetupController::SetupController(Runtime &runtime, Wx &wx, QObject *parent)
    : QObject(parent), m_runtime(runtime), m_wx(wx)
{
}

SetupController::~SetupController()
{
    delete m_dialog;
}

void SetupController::show()
{
    if (m_dialog && m_dialog->isVisible()) {
        m_dialog->raise();
        m_dialog->activateWindow();
        return;
    }
    if (!m_dialog) {
        m_dialog = new NewSetup(&m_wx);
        connect(m_dialog, &NewSetup::saveRequested, this, &SetupController::save);
        // "Exit" reapplies the captions of the settings in effect; nothing else.
        connect(m_dialog, &NewSetup::exited, &m_wx, &Wx::ApplyUnitCaptions);
        m_dialog->attachFax(m_fax, m_faxDir);
    }
    showPortDevices();
    m_dialog->load(m_runtime.configuration());
    const SideSettings side = readSideSettings(sideSettingsFilePath());
    if (auto *sharing = m_dialog->findChild<SharingPage *>())
        sharing->load(side.sharing);
    if (auto *archive = m_dialog->findChild<ArchiveSettingsBox *>())
        archive->setSettings(side.archive);
    m_dialog->show();
    m_dialog->raise();
}

void SetupController::setFax(FaxDevice *fax, const QString &programDir)
{
    m_fax = fax;
    m_faxDir = programDir;
    if (m_dialog)
        m_dialog->attachFax(fax, programDir);
}

void SetupController::offerOnFirstStart()
{
    if (m_runtime.configurationFileFound())
        return;
    QTimer::singleShot(0, this, [this] {
        show();
        m_dialog->showTab(NewSetup::FtpTab);
    });
}

void SetupController::showPortDevices()
{
    QStringList devices;
    const QString dir = programDirectory();
    for (int port = 1; port <= 8; ++port)
        devices << devicePathForPort(port, dir);
    m_dialog->setPortDevices(devices);
}

void SetupController::save(const Configuration &config)
{
    const SetupSaveResult result = m_runtime.saveSetup(config);
    if (!result.applied()) {
        m_dialog->showRefusal(result.refusedField, result.refusal);
        return;
    }
    // "Ports.cfg" is read again with each save, so the devices shown follow it.
    showPortDevices();
    if (!result.message.isEmpty())
        m_dialog->showMessage(result.message);
    saveSharing();
}

void SetupController::saveSharing()
{
    auto *page = m_dialog->findChild<SharingPage *>();
    auto *archiveBox = m_dialog->findChild<ArchiveSettingsBox *>();
    const QString path = sideSettingsFilePath();
    const bool sharingChanged = page && page->changed();
    const bool archiveChanged =
        archiveBox && archiveBox->settings() != readSideSettings(path).archive;
    if (!sharingChanged && !archiveChanged)
        return;
    const auto refused = [&](const QString &error) {
        m_dialog->showMessage(QStringLiteral("The sharing settings could not be saved to %1: %2.")
                                  .arg(QDir::toNativeSeparators(path), error));
    };
    if (sharingChanged) {
        const SharingSettings sharing = page->edited();
        if (const QString error = writeSharingSettings(path, sharing); !error.isEmpty())
            return refused(error);
        page->load(sharing);
    }
    if (archiveChanged) {
        if (const QString error = saveArchiveSettings(path, archiveBox->settings());
            !error.isEmpty())
            return refused(error);
    }
    // The services read corvane.conf again whenever the configuration is applied.
    m_runtime.setConfiguration(m_runtime.configuration());
}

void SetupController::saveTabPictures(const QString &folder, std::function<void()> done)
{
    static const char *const names[] = {"ftp", "ports", "display", "graphs", "fax", "paging", "sharing"};
    show();
    QDir().mkpath(folder);
    const auto step = std::make_shared<std::function<void(int)>>();
    *step = [this, folder, done, step](int tab) {
        if (!m_dialog || tab > NewSetup::SharingTab) {
            if (done)
                done();
            return;
        }
        m_dialog->showTab(tab);
        QTimer::singleShot(300, this, [this, folder, step, tab] {
            if (m_dialog)
                m_dialog->grab().save(QDir(folder).filePath(
                    QStringLiteral("setup-%1.png").arg(QLatin1String(names[tab]))));
            (*step)(tab + 1);
        });
    };
    (*step)(NewSetup::FtpTab);
}
