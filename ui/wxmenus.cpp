// The main window's menu bar, its commands, and the unit captions with the gauge rule.
#include "ui/wx.h"

#include "config/unitcaptions.h"
#include "ui/detailwindow.h"
#include "ui/gaugepanel.h"
#include "ui/readinglayouts.h"

#include <QLabel>
#include <QLayout>
#include <QMenuBar>

namespace {

struct MenuItem
{
    const char *objectName;
    const char *caption;
};

// Commands whose jobs belong to other subsystems; they stay disabled until wired.
const MenuItem fileItems[] = {
    {"m_UpPage", "Upload Web Page Now"},
    {"m_generateforecast", "Generate Forecast"},
    {"m_vforecast", "View Forecast"},
    {"m_dialconnection", "Dial Connection"},
    {"m_hangupconnection", "Hangup Connection"},
};

} // namespace

void Wx::buildMenus()
{
    QMenuBar *bar = menuBar();
    auto add = [this](QWidget *where, const char *objectName, const QString &caption) {
        auto *action = new QAction(caption, this);
        action->setObjectName(QString::fromLatin1(objectName));
        where->addAction(action);
        m_actions.insert(action->objectName(), action);
        return action;
    };

    QMenu *file = bar->addMenu(QStringLiteral("File"));
    for (const MenuItem &item : fileItems)
        add(file, item.objectName, QString::fromLatin1(item.caption))->setEnabled(false);
    // Enabled once there is a log to show: followTransferLog().
    QAction *log = add(file, "m_transferlog", QStringLiteral("Transfer Log"));
    log->setEnabled(false);
    connect(log, &QAction::triggered, this, &Wx::showTransferLog);
    file->addSeparator();
    connect(add(file, "m_exit", QStringLiteral("E&xit")), &QAction::triggered, this,
            &Wx::endProgram);

    QMenu *setup = bar->addMenu(QStringLiteral("Setup"));
    add(setup, "m_configuration", QStringLiteral("Configuration"))->setEnabled(false);
    QAction *gauges = add(setup, "m_Gauges", QStringLiteral("Gauges"));
    gauges->setCheckable(true);
    gauges->setChecked(true);
    connect(gauges, &QAction::triggered, this, &Wx::setGaugePanelShown);

    QMenu *extended = bar->addMenu(QStringLiteral("Extended Data"));
    for (const ReadingLayout &layout : detailLayouts()) {
        const QString name = layout.name;
        QAction *a =
            add(extended, layout.menuObjectName.toLatin1().constData(), layout.menuCaption);
        connect(a, &QAction::triggered, this, [this, name] { showDetailWindow(name); });
    }

    add(bar, "m_graphing", QStringLiteral("Graphing"))->setEnabled(false);
    connect(add(bar, "m_preview", QStringLiteral("Preview HTML")), &QAction::triggered, this,
            &Wx::ShowPreview);

    QMenu *help = bar->addMenu(QStringLiteral("Help"));
    connect(add(help, "m_about", QStringLiteral("About corvane")), &QAction::triggered, this,
            &Wx::showAbout);
    connect(add(help, "m_programdirectory", QStringLiteral("Open Program Directory")),
            &QAction::triggered, this, &Wx::openProgramDirectory);
}

QAction *Wx::action(const QString &objectName) const
{
    return m_actions.value(objectName);
}

void Wx::wireAction(const QString &objectName, std::function<void()> handler)
{
    QAction *a = action(objectName);
    if (!a || !handler)
        return;
    connect(a, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
    a->setEnabled(true);
}

QWidget *Wx::unitWindow(const QString &name) const
{
    if (name == objectName())
        return centralWidget();
    return detailWindow(name);
}

void Wx::ApplyUnitCaptions()
{
    const int units = m_configuration().DisplayUnits;
    for (const UnitCaption &c : unitCaptions()) {
        QWidget *window = unitWindow(c.window);
        QLabel *label = window ? window->findChild<QLabel *>(c.label) : nullptr;
        if (label)
            label->setText(units != 0 ? c.metric : c.english);
    }
    // The humidity window's percent label does not switch, but is set with the others.
    if (QWidget *humidity = unitWindow(QStringLiteral("Humidity"))) {
        if (auto *label = humidity->findChild<QLabel *>(QStringLiteral("Label4")))
            label->setText(unitCaption(QStringLiteral("Humidity"), label->objectName(), units));
    }

    // The dials show English units only, so the panel is offered in English only.
    const bool english = units == 0;
    QAction *gauges = action(QStringLiteral("m_Gauges"));
    gauges->setChecked(english);
    gauges->setEnabled(english);
    setGaugePanelShown(english);
}

void Wx::setGaugePanelShown(bool shown)
{
    if (shown == m_gauges->isVisibleTo(this))
        return;
    const int heightWithPanel = height();
    m_gauges->setVisible(shown);
    // A window not shown yet takes its size from the layout when it is.
    if (!isVisible() || isMaximized() || isFullScreen())
        return;
    // Shrink with the panel instead of leaving an empty band, and grow back to the
    // height the window had with it.
    centralWidget()->layout()->activate();
    layout()->activate();
    if (shown) {
        resize(width(), qMax(m_heightWithGauges, minimumSizeHint().height()));
    } else {
        m_heightWithGauges = heightWithPanel;
        resize(width(), sizeHint().height());
    }
}
