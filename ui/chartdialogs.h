// The questions the chart window asks, answered through callbacks so that no dialog runs an
// event loop of its own.
#pragma once

#include <QColor>
#include <QString>
#include <functional>

class QPrinter;
class QWidget;

class ChartDialogs
{
public:
    virtual ~ChartDialogs() = default;

    // A month file to open, starting in `folder`; an empty path when the user cancels.
    virtual void chooseDatabase(QWidget *parent, const QString &folder,
                                std::function<void(const QString &path)> chosen) = 0;
    // A Yes/No question titled "Corvane Graphing".
    virtual void askYesNo(QWidget *parent, const QString &question,
                          std::function<void(bool yes)> answered) = 0;
    // An input box titled "Corvane Graphing"; a cancelled box answers an empty text.
    virtual void askText(QWidget *parent, const QString &prompt, const QString &preset,
                         std::function<void(const QString &answer)> answered) = 0;
    // The same under another title ("Chart Day" asks under "Corvane"); by default the
    // title is left to askText.
    virtual void askTextTitled(QWidget *parent, const QString &title, const QString &prompt,
                               const QString &preset,
                               std::function<void(const QString &answer)> answered)
    {
        Q_UNUSED(title);
        askText(parent, prompt, preset, std::move(answered));
    }
    // A message box titled "Corvane Graphing".
    virtual void tell(QWidget *parent, const QString &message) = 0;
    // A file to open (save false) or to save to; `filter` is a name filter such as "JPG
    // (*.JPG)", `suffix` is added to a name typed without one. Empty when cancelled.
    virtual void chooseFile(QWidget *parent, bool save, const QString &filter,
                            const QString &suffix,
                            std::function<void(const QString &path)> chosen) = 0;
    // A colour starting at `initial`; an invalid colour when cancelled.
    virtual void chooseColor(QWidget *parent, const QColor &initial,
                             std::function<void(const QColor &color)> chosen) = 0;
    // The print dialog on `printer` (the caller's, kept from print to print): printer,
    // "Print to File (PDF)", pages. `accepted` is false when the user cancels.
    virtual void choosePrinter(QWidget *parent, QPrinter *printer,
                               std::function<void(bool accepted)> answered) = 0;
};

// The real dialogs: window-modal, opened with open() and answering from their signals.
class WindowChartDialogs final : public ChartDialogs
{
public:
    void chooseDatabase(QWidget *parent, const QString &folder,
                        std::function<void(const QString &path)> chosen) override;
    void askYesNo(QWidget *parent, const QString &question,
                  std::function<void(bool yes)> answered) override;
    void askText(QWidget *parent, const QString &prompt, const QString &preset,
                 std::function<void(const QString &answer)> answered) override;
    void askTextTitled(QWidget *parent, const QString &title, const QString &prompt,
                       const QString &preset,
                       std::function<void(const QString &answer)> answered) override;
    void tell(QWidget *parent, const QString &message) override;
    void chooseFile(QWidget *parent, bool save, const QString &filter, const QString &suffix,
                    std::function<void(const QString &path)> chosen) override;
    void chooseColor(QWidget *parent, const QColor &initial,
                     std::function<void(const QColor &color)> chosen) override;
    void choosePrinter(QWidget *parent, QPrinter *printer,
                       std::function<void(bool accepted)> answered) override;
};
