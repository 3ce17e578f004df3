// Page preview.
#include "ui/preview.h"

#include "core/regularfile.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

// Names this short cannot be a page; the dialog hands back at least a drive and a name.
constexpr int ShortestPageName = 5;

// Local pages, and what they link to, are read as other user-named files are: a FIFO or a
// device named like a page would otherwise stall the window.
class PageBrowser final : public QTextBrowser
{
public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int type, const QUrl &name) override
    {
        if (!name.isLocalFile())
            return QTextBrowser::loadResource(type, name);
        const RegularFileRead file = readRegularFile(name.toLocalFile(), TemplateFileLimit);
        if (file.ok())
            return file.bytes;
        if (type != QTextDocument::HtmlResource)
            return {};
        return QStringLiteral("<p>%1</p>").arg(file.error.toHtmlEscaped());
    }
};

} // namespace

Preview::Preview(FileChooser chooser, QWidget *parent)
    : QWidget(parent, Qt::Window),
      m_chooser(chooser ? std::move(chooser) : FileChooser(&Preview::chooseWithDialog)),
      m_browser(new PageBrowser(this)),
      m_openButton(new QPushButton(tr("Open in Web Browser"), this))
{
    setObjectName(QStringLiteral("Preview"));
    setWindowTitle(QStringLiteral("Preview"));
    m_browser->setObjectName(QStringLiteral("WB1"));
    m_browser->setOpenExternalLinks(true);
    m_openButton->setObjectName(QStringLiteral("OpenInBrowser"));
    m_openButton->setEnabled(false);
    connect(m_openButton, &QPushButton::clicked, this, &Preview::openInBrowser);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_openButton);
    auto *box = new QVBoxLayout(this);
    box->addWidget(m_browser, 1);
    box->addLayout(buttons);
    resize(720, 540);
}

bool Preview::load(const QString &preset, QWidget *dialogParent)
{
    const QString chosen = m_chooser(dialogParent ? dialogParent : this, preset);
    if (chosen.size() <= ShortestPageName)
        return false;
    m_page = QUrl::fromLocalFile(QFileInfo(chosen).absoluteFilePath());
    m_browser->setSource(m_page);
    m_openButton->setEnabled(true);
    return true;
}

QString Preview::chooseWithDialog(QWidget *parent, const QString &preset)
{
    QFileDialog dialog(parent, QStringLiteral("Open"));
    dialog.setObjectName(QStringLiteral("CD"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(
        {QStringLiteral("Web pages (*.htm *.html)"), QStringLiteral("All files (*)")});
    const QFileInfo presetInfo(preset);
    if (!preset.isEmpty()) {
        dialog.setDirectory(presetInfo.absolutePath());
        dialog.selectFile(presetInfo.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void Preview::openInBrowser()
{
    if (m_page.isValid())
        QDesktopServices::openUrl(m_page);
}
