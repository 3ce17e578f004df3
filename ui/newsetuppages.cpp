// The six tabs of the setup dialog and their controls.
#include "ui/newsetup.h"

#include "ui/graphstylesample.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace {

QGroupBox *frame(const char *name, const QString &caption)
{
    auto *box = new QGroupBox(caption);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

template <typename T> T *arrayElement(T *widget, const char *name, int index)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setProperty("index", index);
    return widget;
}

QComboBox *listBox(const char *name, const QStringList &items)
{
    auto *combo = new QComboBox;
    combo->setObjectName(QString::fromLatin1(name));
    combo->addItems(items);
    return combo;
}

// A box with "Minutes" after it.
QWidget *withMinutes(QLineEdit *box)
{
    auto *w = new QWidget;
    auto *row = new QHBoxLayout(w);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(box);
    row->addWidget(new QLabel(QStringLiteral("Minutes")));
    row->addStretch();
    return w;
}

} // namespace

QLineEdit *NewSetup::addTextBox(const char *name)
{
    auto *box = new QLineEdit;
    box->setObjectName(QString::fromLatin1(name));
    m_textBoxes.insert(box->objectName(), box);
    return box;
}

QWidget *NewSetup::buildFtpPage()
{
    QGroupBox *box = frame("Frame2", QStringLiteral("FTP Settings"));
    auto *form = new QFormLayout(box);
    const struct
    {
        const char *name;
        const char *caption;
    } rows[] = {
        {"Text1", "Remote Host"},
        {"Text2", "Remote Port"},
        {"Text3", "User Name"},
        {"Text4", "Password"},
        {"Text5", "Upload Path"},
        {"Text6", "HTML Template File 1"},
        {"Text7", "HTML Output File 1"},
        {"Text16", "Upload Path 2"},
        {"Text13", "HTML Template File 2"},
        {"Text14", "HTML Output File 2"},
        {"Text8", "NWS Remote Host"},
        {"Text9", "NWS Download Path"},
        {"Text10", "NWS Start Key"},
        {"Text11", "NWS End Key"},
    };
    for (const auto &row : rows)
        form->addRow(QString::fromLatin1(row.caption), addTextBox(row.name));
    m_textBoxes.value(QStringLiteral("Text4"))->setEchoMode(QLineEdit::PasswordEchoOnEdit);
    // The intervals are 16-bit minute counts; letters there would switch the job off
    // without a word, so the boxes take digits only.
    for (const char *name : {"Text15", "Text17"}) {
        QLineEdit *interval = addTextBox(name);
        interval->setValidator(new QIntValidator(-32768, 32767, interval));
        interval->setMaximumWidth(80);
        form->addRow(QString::fromLatin1(name == QLatin1String("Text15") ? "Upload Interval"
                                                                         : "Logging Interval"),
                     withMinutes(interval));
    }
    m_autoDisconnect = new QCheckBox(QStringLiteral(" Auto Disconnect After Upload"));
    m_autoDisconnect->setObjectName(QStringLiteral("Check1"));
    form->addRow(m_autoDisconnect);
    return box;
}

QWidget *NewSetup::buildPortPage()
{
    QGroupBox *box = frame("Frame5", QStringLiteral("Communications Port"));
    auto *row = new QHBoxLayout(box);
    const struct
    {
        const char *buttons;
        const char *caption;
    } groups[] = {{"Option1", "WX-200 / WM-918"}, {"Option3", "Pager / Fax"}, {"Option4", "FTP"}};
    for (int g = 0; g < 3; ++g) {
        auto *group = new QGroupBox(QString::fromLatin1(groups[g].caption));
        auto *grid = new QGridLayout(group);
        m_portGroups[g] = new QButtonGroup(group);
        for (int k = 0; k < 8; ++k) {
            auto *button =
                arrayElement(new QRadioButton(QStringLiteral("Communications Port %1").arg(k + 1)),
                             groups[g].buttons, k);
            m_portGroups[g]->addButton(button, k);
            // Which device "Communications Port 3" is on this machine.
            auto *device = arrayElement(new QLabel, "PortDevice", k);
            device->setProperty("group", QString::fromLatin1(groups[g].buttons));
            device->setEnabled(false);
            m_portDevices[g].append(device);
            grid->addWidget(button, k, 0);
            grid->addWidget(device, k, 1);
        }
        row->addWidget(group);
    }
    return box;
}

QWidget *NewSetup::buildDisplayPage()
{
    QGroupBox *box = frame("Frame3", QStringLiteral("Display Units"));
    auto *column = new QVBoxLayout(box);
    m_units = new QButtonGroup(box);
    const char *captions[] = {"English Units", "Metric Units"};
    for (int i = 0; i < 2; ++i) {
        auto *button =
            arrayElement(new QRadioButton(QString::fromLatin1(captions[i])), "DisplayUnits", i);
        m_units->addButton(button, i);
        column->addWidget(button);
    }
    column->addStretch();
    return box;
}

QWidget *NewSetup::buildGraphPage()
{
    QGroupBox *box = frame("Frame1", QStringLiteral("Graphing Options"));
    auto *form = new QFormLayout(box);
    m_graphStyle = listBox("Combo2", {QStringLiteral("Style 1 - Standard"),
                                      QStringLiteral("Style 2 - with Date/Time")});
    form->addRow(QStringLiteral("Graph Styles"), m_graphStyle);
    m_styleSample = new QLabel;
    m_styleSample->setObjectName(QStringLiteral("GraphStyleSample"));
    m_styleSample->setFrameShape(QFrame::Box);
    m_styleSample->setFixedSize(graphStyleSample(0).size() + QSize(2, 2));
    form->addRow(QString(), m_styleSample);
    m_graphSize = listBox("Combo4", {QStringLiteral("1024 x 768"), QStringLiteral("640 x 480")});
    form->addRow(QStringLiteral("Graph Size"), m_graphSize);
    m_graphHeader = new QLineEdit;
    m_graphHeader->setObjectName(QStringLiteral("GHtext"));
    form->addRow(QStringLiteral("Graph Header"), m_graphHeader);
    m_graphPath = new QLineEdit;
    m_graphPath->setObjectName(QStringLiteral("GFText"));
    form->addRow(QStringLiteral("Graph Upload Path"), m_graphPath);
    m_graphTime = new QTimeEdit;
    m_graphTime->setObjectName(QStringLiteral("DTPicker"));
    m_graphTime->setDisplayFormat(QStringLiteral("h:mm AP"));
    form->addRow(QStringLiteral("Graph Upload Time"), m_graphTime);
    m_uploadGraphs = new QCheckBox(QStringLiteral("Upload Graphs"));
    m_uploadGraphs->setObjectName(QStringLiteral("Check2"));
    form->addRow(m_uploadGraphs);
    return box;
}

QWidget *NewSetup::buildPagingPage()
{
    QGroupBox *box = frame("Frame4", QStringLiteral("Paging Options"));
    auto *column = new QVBoxLayout(box);
    auto *grid = new QGridLayout;
    const char *headings[] = {"Pager Number", "Pager Company Number", "ON/OFF",
                              "Page Type",    "Alarm Type",           "Setting"};
    for (int c = 0; c < 6; ++c)
        grid->addWidget(new QLabel(QString::fromLatin1(headings[c])), 0, c);
    const QStringList pageTypes = {
        QStringLiteral("Hourly"),          QStringLiteral("Daily"),
        QStringLiteral("Wind Alarm"),      QStringLiteral("Temperature Alarm"),
        QStringLiteral("Dewpoint Alarm"),  QStringLiteral("Humidity Alarm"),
        QStringLiteral("Barometer Alarm"), QStringLiteral("Rainfall Alarm")};
    const QStringList alarmTypes = {QStringLiteral("None"), QStringLiteral("High"),
                                    QStringLiteral("Low")};
    for (int i = 0; i < 5; ++i) {
        PagerRowControls &r = m_rows[i];
        r.number = arrayElement(new QLineEdit, "PagNumText", i);
        r.company = arrayElement(new QLineEdit, "PagCompNumText", i);
        r.enabled = arrayElement(new QCheckBox(QStringLiteral("Enabled")), "PagerEnabled", i);
        r.pageType = arrayElement(listBox("PageType", pageTypes), "PageType", i);
        r.alarmType = arrayElement(listBox("AlarmType", alarmTypes), "AlarmType", i);
        r.setting = arrayElement(new QLineEdit, "ASetting", i);
        QWidget *cells[] = {r.number, r.company, r.enabled, r.pageType, r.alarmType, r.setting};
        for (int c = 0; c < 6; ++c)
            grid->addWidget(cells[c], i + 1, c);
    }
    column->addLayout(grid);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Hourly Paging Template File"), addTextBox("Text12"));
    form->addRow(QStringLiteral("Daily Paging Template File"), addTextBox("Text18"));
    column->addLayout(form);
    column->addStretch();
    return box;
}
