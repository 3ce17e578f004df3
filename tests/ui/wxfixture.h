// A main window over its own record, status board and configuration, for the ui tests.
#pragma once

#include "acquisition/readingsrecord.h"
#include "config/configuration.h"
#include "core/statusboard.h"
#include "ui/detailwindow.h"
#include "ui/wx.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <memory>

struct WxFixture
{
    ReadingsRecord record;
    StatusBoard status;
    Configuration config; // as with no configuration file: English units, empty names
    std::unique_ptr<Wx> wx;

    WxFixture()
    {
        wx = std::make_unique<Wx>(record, status,
                                  [this]() -> const Configuration & { return config; });
        wx->ApplyUnitCaptions();
    }

    void setUnits(int units)
    {
        config.DisplayUnits = qint16(units);
        wx->ApplyUnitCaptions();
    }

    // The window a caption or box lives in: the main window or a detail window by name.
    QWidget *window(const QString &name) const
    {
        if (name == QLatin1String("Wx"))
            return wx.get();
        return wx->detailWindow(name);
    }
    QLineEdit *box(const QString &windowName, const QString &box) const
    {
        QWidget *w = window(windowName);
        return w ? w->findChild<QLineEdit *>(box) : nullptr;
    }
    QLabel *label(const QString &windowName, const QString &label) const
    {
        QWidget *w = window(windowName);
        return w ? w->findChild<QLabel *>(label) : nullptr;
    }
    void trigger(const QString &action) const { wx->action(action)->trigger(); }
};
