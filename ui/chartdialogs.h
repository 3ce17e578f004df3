// The questions the chart window asks, answered through callbacks so that no dialog runs an
// event loop of its own.
#pragma once

#include <QString>
#include <functional>

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
    // A message box titled "Corvane Graphing".
    virtual void tell(QWidget *parent, const QString &message) = 0;
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
    void tell(QWidget *parent, const QString &message) override;
};
