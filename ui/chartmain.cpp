// The chart window's controls, menus, mouse modes and the "&Math" enabling.
#include "ui/chartmain.h"

#include "charting/chart2d.h"
#include "ui/autograph.h"
#include "ui/chartdialogs.h"
#include "ui/selectseries.h"
#include "ui/waitform.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

using M = MouseBinding;
namespace Msg = ChartMessage;

constexpr int kHeld = 1; // mouse move with the left button held
constexpr int kEscape = 27;

int act(ChartAction a)
{
    return int(a);
}

struct MouseMode
{
    const char *objectName;
    const char *caption;
    QVector<MouseBinding> bindings;
};

// The right button picks a point in every mode.
const QVector<MouseMode> &mouseModes()
{
    static const M pick{Msg::RightButtonDown, 0, 0, act(ChartAction::Pick)};
    const auto drag = [](ChartAction a) {
        return QVector<M>{{Msg::LeftButtonDown, 0, 0, act(ChartAction::StartDrag)},
                          {Msg::MouseMove, kHeld, 0, act(a)},
                          {Msg::LeftButtonUp, 0, 0, act(ChartAction::EndDrag)},
                          pick};
    };
    static const QVector<MouseMode> modes = {
        {"optNone", "None", {pick}},
        {"optMove", "Move", drag(ChartAction::Move)},
        {"optScale", "Scale", drag(ChartAction::Scale)},
        {"optZoom",
         "Zoom",
         {{Msg::LeftButtonDown, 0, 0, act(ChartAction::ZoomStart)},
          {Msg::MouseMove, kHeld, 0, act(ChartAction::ZoomExtend)},
          {Msg::LeftButtonUp, 0, 0, act(ChartAction::ZoomEnd)},
          {Msg::KeyDown, 1, kEscape, act(ChartAction::ZoomCancel)},
          pick}},
        {"optRotate", "Rotate", drag(ChartAction::Rotate)},
    };
    return modes;
}

template <typename W> W *named(W *w, const char *objectName)
{
    w->setObjectName(QString::fromLatin1(objectName));
    return w;
}

} // namespace

ChartMain::ChartMain(Clock &clock, ChartDialogs &dialogs, QWidget *parent)
    : QMainWindow(parent), m_clock(clock), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("ChartMain"));
    setWindowTitle(QStringLiteral("Corvane Graphing"));
    m_chart = named(new Chart2D(this), "Chart2D1");
    m_chart->setDataSource(&m_session.data());
    m_wait = new WaitForm(m_clock, this);
    m_selectSeries = new SelectSeries(this);
    connect(m_selectSeries, &SelectSeries::fieldChosen, this, &ChartMain::addSeriesFromDialog);

    auto *central = new QWidget(this);
    auto *box = new QHBoxLayout(central);
    auto *side = new QVBoxLayout;
    side->addWidget(buildControls());
    side->addWidget(buildStatistics());
    side->addStretch(1);
    box->addLayout(side);
    box->addWidget(m_chart, 1);
    setCentralWidget(central);
    buildMenus();
    resize(1100, 720);

    // Open: group 1 active, its series shown.
    switchActiveGroup(0);
    setMouseMode(0);
}

ChartMain::~ChartMain()
{
    delete m_autoGraph;              // a run it drives ends while the chart is still whole
    m_chart->setDataSource(nullptr); // the table goes before the chart
}

ChartMain *showChartWindow(QPointer<ChartMain> &window, Clock &clock, ChartDialogs &dialogs,
                           GraphFaxSender *fax)
{
    if (!window) {
        window = new ChartMain(clock, dialogs);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setFaxSender(fax);
    }
    window->show();
    window->raise();
    window->SelectDataSource();
    return window;
}

QWidget *ChartMain::buildControls()
{
    auto *panel = new QWidget(this);
    auto *form = new QFormLayout(panel);
    form->setContentsMargins(0, 0, 0, 0);
    m_databaseName = named(new QLineEdit(panel), "Text1");
    m_tables = named(new QComboBox(panel), "List1");
    m_replaceField = named(new QComboBox(panel), "list2");
    m_xField = named(new QComboBox(panel), "list3");
    m_addField = named(new QComboBox(panel), "list4");
    m_activeGroup = named(new QComboBox(panel), "Combo1");
    m_activeGroup->addItems(
        {QStringLiteral("Chart Group 1 (Y Axis)"), QStringLiteral("Chart Group 2 (Y2 Axis)")});
    m_group1 = named(new QListWidget(panel), "List5");
    m_group2 = named(new QListWidget(panel), "List6");
    m_dateTimeField = named(new QLineEdit(panel), "DT");
    for (QListWidget *list : {m_group1, m_group2}) {
        list->setMaximumHeight(110);
        list->installEventFilter(this);
    }

    auto *seriesLists = new QVBoxLayout;
    seriesLists->addWidget(m_group1);
    seriesLists->addWidget(m_group2);
    form->addRow(QStringLiteral("Database Name"), m_databaseName);
    form->addRow(QStringLiteral("Recordsources"), m_tables);
    form->addRow(QStringLiteral("Plot Field"), m_replaceField);
    form->addRow(QStringLiteral("X Axis Field"), m_xField);
    form->addRow(QStringLiteral("Date/Time Field"), m_dateTimeField);
    form->addRow(QStringLiteral("Add Field"), m_addField);
    form->addRow(QStringLiteral("Active Y Axis"), m_activeGroup);
    form->addRow(QStringLiteral("Active Series"), seriesLists);

    auto *add = named(new QPushButton(QStringLiteral("Add Series"), panel), "Command1");
    auto *remove = named(new QPushButton(QStringLiteral("Remove Series"), panel), "Command2");
    auto *reset = named(new QPushButton(QStringLiteral("Reset Zoom"), panel), "Command3");
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {add, remove, reset})
        buttons->addWidget(b);
    form->addRow(buttons);

    auto *frame = named(new QGroupBox(QStringLiteral("Mouse Events"), panel), "Frame1");
    auto *modes = new QHBoxLayout(frame);
    for (int i = 0; i < mouseModes().size(); ++i) {
        const MouseMode &m = mouseModes()[i];
        auto *option = named(new QRadioButton(QString::fromLatin1(m.caption), frame), m.objectName);
        connect(option, &QRadioButton::clicked, this, [this, i] { setMouseMode(i); });
        modes->addWidget(option);
        m_modes << option;
    }
    form->addRow(frame);

    connect(m_tables, &QComboBox::activated, this, &ChartMain::chooseTable);
    connect(m_replaceField, &QComboBox::textActivated, this, &ChartMain::replaceSeries);
    connect(m_addField, &QComboBox::textActivated, this, &ChartMain::addSeries);
    connect(m_activeGroup, &QComboBox::activated, this, &ChartMain::switchActiveGroup);
    connect(m_xField, &QComboBox::currentTextChanged, m_dateTimeField, &QLineEdit::setText);
    connect(add, &QPushButton::clicked, m_selectSeries, [this] {
        m_selectSeries->show();
        m_selectSeries->raise();
    });
    connect(remove, &QPushButton::clicked, this, &ChartMain::removeSeries);
    connect(reset, &QPushButton::clicked, this, &ChartMain::resetZoom);
    return panel;
}

QWidget *ChartMain::buildStatistics()
{
    auto *frame = named(new QGroupBox(QStringLiteral("Statistics"), this), "Frame2");
    auto *form = new QFormLayout(frame);
    const auto box = [&](const char *objectName, const char *caption) {
        auto *edit = named(new QLineEdit(frame), objectName);
        form->addRow(QString::fromLatin1(caption), edit);
        return edit;
    };
    m_minimum = box("Minimum", "Minimum");
    m_maximum = box("Maximum", "Maximum");
    m_average = box("Average", "Average");
    m_stdDev = box("StdDev", "Std Dev");
    m_price = box("PricePerSCFM", "$ per SCFM");
    m_price->setText(QStringLiteral(".0001234 "));
    m_totalCost = box("TotalCost", "Total Cost");
    for (QLineEdit *e : {m_minimum, m_maximum, m_average, m_stdDev, m_totalCost})
        e->setReadOnly(true);
    return frame;
}

bool ChartMain::eventFilter(QObject *watched, QEvent *event)
{
    // A menu taking the keyboard is no leaving: "&Math" must stay enabled to be chosen.
    if (event->type() == QEvent::FocusIn) {
        m_actions.value(QStringLiteral("m_m"))->setEnabled(true);
    } else if (event->type() == QEvent::FocusOut && watched == m_group1) {
        const Qt::FocusReason why = static_cast<QFocusEvent *>(event)->reason();
        if (why != Qt::PopupFocusReason && why != Qt::MenuBarFocusReason)
            m_actions.value(QStringLiteral("m_m"))->setEnabled(false);
    }
    return QMainWindow::eventFilter(watched, event);
}

void ChartMain::setMouseMode(int mode)
{
    m_chart->clearMouseBindings();
    for (const MouseBinding &b : mouseModes()[mode].bindings)
        m_chart->addMouseBinding(b);
    m_modes[mode]->setChecked(true);
}

void ChartMain::resetZoom()
{
    m_chart->performAction(act(ChartAction::Reset), QPoint(0, 0));
    m_chart->setDepth3D(5);
    m_chart->setElevation3D(0);
    m_chart->setRotation3D(0);
    setMouseMode(0);
}

QString ChartMain::statusText() const
{
    return statusBar()->currentMessage();
}
