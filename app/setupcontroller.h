// The setup dialog wired to the engine: "Configuration" shows it, "Save" writes and applies
// through the runtime, and its answers come back to the dialog as messages.
#pragma once

#include "ui/newsetup.h"

#include <QObject>
#include <QPointer>
#include <functional>

class FaxDevice;
class Runtime;
class Wx;

class SetupController : public QObject
{
    Q_OBJECT
public:
    SetupController(Runtime &runtime, Wx &wx, QObject *parent = nullptr);
    ~SetupController() override;

    // Shows the dialog loaded with the settings in effect (those of "Corvane.cfg" unless a
    // save could not write it) on the FTP tab; a dialog already shown is only raised, keeping
    // what was typed into it.
    void show();
    // Without a "Corvane.cfg" at start-up the dialog is offered once, on the FTP tab, when
    // the event loop runs, that is after the main window has appeared. Nothing is written
    // until "Save".
    void offerOnFirstStart();

    // Shows the dialog and saves a picture of each tab into `folder` ("setup-ftp.png",
    // "setup-ports.png", ...), one tab per turn of the event loop so that each is laid out
    // and painted; then calls `done`.
    void saveTabPictures(const QString &folder, std::function<void()> done = {});

    // The fax component the fax tab's tools work on, its files in `programDir`.
    void setFax(FaxDevice *fax, const QString &programDir);

    // Null until first shown.
    NewSetup *dialog() const { return m_dialog; }

private:
    void save(const Configuration &config);
    // The "Sharing" tab's settings, into corvane.conf when they changed, then applied.
    void saveSharing();
    void showPortDevices();

    Runtime &m_runtime;
    Wx &m_wx;
    QPointer<NewSetup> m_dialog;
    FaxDevice *m_fax = nullptr;
    QString m_faxDir;
};
