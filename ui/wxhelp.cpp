// The main window's Help menu: the About box and the program directory.
#include "ui/wx.h"

#include "core/programdir.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

void Wx::showAbout()
{
    if (m_about) {
        m_about->raise();
        m_about->activateWindow();
        return;
    }
    const QString text =
        tr("<p><b>corvane %1</b></p>"
           "<p>Reads, logs, publishes and pages the readings of a home weather station.</p>"
           "<p>Licence: GNU General Public License, version 3 or later.</p>"
           "<p>Program directory:<br>%2</p>")
            .arg(QStringLiteral(CORVANE_VERSION), programDirectory().toHtmlEscaped());
    auto *box = new QMessageBox(QMessageBox::Information, tr("About corvane"), text,
                                QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("AboutBox"));
    box->setTextFormat(Qt::RichText);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse);
    box->setAttribute(Qt::WA_DeleteOnClose);
    m_about = box;
    box->open(); // window-modal, answered through its signals: no loop of its own
}

void Wx::openProgramDirectory()
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(programDirectory()));
}
