// The page preview window: the published page shown in a browser box, with a button that
// opens it in the desktop's own browser.
#pragma once

#include <QUrl>
#include <QWidget>
#include <functional>

class QPushButton;
class QTextBrowser;

class Preview : public QWidget
{
    Q_OBJECT
public:
    // Asks for the page to show, starting from `preset`; returns the chosen name, or an
    // empty text when the user cancels.
    using FileChooser = std::function<QString(QWidget *parent, const QString &preset)>;

    explicit Preview(FileChooser chooser = {}, QWidget *parent = nullptr);

    // The window's load step: offers `preset` in the file dialog (over `dialogParent`)
    // and shows the chosen page. A name of 5 characters or fewer (a cancelled dialog among
    // them) shows nothing and returns false; the caller then closes the window.
    bool load(const QString &preset, QWidget *dialogParent = nullptr);

    QUrl page() const { return m_page; }

    // The open-file dialog used unless a chooser is given.
    static QString chooseWithDialog(QWidget *parent, const QString &preset);

private:
    void openInBrowser();

    FileChooser m_chooser;
    QTextBrowser *m_browser;
    QPushButton *m_openButton;
    QUrl m_page;
};
