// The setup dialog: loading a Configuration into its controls, the row and style rules, and
// collecting the edited record.
#include "ui/newsetup.h"

#include "config/variantvalue.h"
#include "ui/graphstylesample.h"
#include "ui/sharingpage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTimeEdit>
#include <QVBoxLayout>
#include <cmath>

namespace {

using C = Configuration;

// The single text boxes: the field each edits (named as the file's field table names it),
// its caption and its tab.
struct TextField
{
    const char *control;
    const char *field;
    const char *caption;
    QString C::*member;
    NewSetup::Tab tab;
};

const TextField textFields[] = {
    {"Text1", "RemoteHost", "Remote Host", &C::RemoteHost, NewSetup::FtpTab},
    {"Text2", "RemotePort", "Remote Port", &C::RemotePort, NewSetup::FtpTab},
    {"Text3", "UserName", "User Name", &C::UserName, NewSetup::FtpTab},
    {"Text4", "Password", "Password", &C::Password, NewSetup::FtpTab},
    {"Text5", "UploadPath", "Upload Path", &C::UploadPath, NewSetup::FtpTab},
    {"Text6", "TemplateFile1", "HTML Template File 1", &C::TemplateFile1, NewSetup::FtpTab},
    {"Text7", "OutputFile1", "HTML Output File 1", &C::OutputFile1, NewSetup::FtpTab},
    {"Text8", "NwsRemoteHost", "NWS Remote Host", &C::NwsRemoteHost, NewSetup::FtpTab},
    {"Text9", "NwsDownloadPath", "NWS Download Path", &C::NwsDownloadPath, NewSetup::FtpTab},
    {"Text10", "NwsStartKey", "NWS Start Key", &C::NwsStartKey, NewSetup::FtpTab},
    {"Text11", "NwsEndKey", "NWS End Key", &C::NwsEndKey, NewSetup::FtpTab},
    {"Text12", "HourlyPageTemplate", "Hourly Paging Template File", &C::HourlyPageTemplate,
     NewSetup::PagingTab},
    {"Text13", "TemplateFile2", "HTML Template File 2", &C::TemplateFile2, NewSetup::FtpTab},
    {"Text14", "OutputFile2", "HTML Output File 2", &C::OutputFile2, NewSetup::FtpTab},
    {"Text16", "UploadPath2", "Upload Path 2", &C::UploadPath2, NewSetup::FtpTab},
    {"Text18", "DailyPageTemplate", "Daily Paging Template File", &C::DailyPageTemplate,
     NewSetup::PagingTab},
};

// The two interval boxes hold 16-bit minute counts.
const struct
{
    const char *control;
    qint16 C::*member;
} intervalFields[] = {{"Text15", &C::UploadInterval}, {"Text17", &C::LoggingInterval}};

// A list index as stored: a whole number within the list, otherwise nothing chosen.
int listIndex(const QVariant &v, int count)
{
    const auto n = variantNumber(v);
    if (!n || *n != std::floor(*n) || *n < 0 || *n >= count)
        return -1;
    return int(*n);
}

void checkOnly(QButtonGroup *group, int id)
{
    // An exclusive group cannot be emptied; a record with no port set selects none.
    group->setExclusive(false);
    for (QAbstractButton *b : group->buttons())
        b->setChecked(group->id(b) == id);
    group->setExclusive(true);
}

} // namespace

NewSetup::NewSetup(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("NewSetup"));
    setWindowTitle(QStringLiteral("Corvane Configuration Editor"));
    setModal(false);

    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("TabStrip1"));
    m_tabs->addTab(buildFtpPage(), QStringLiteral("FTP Settings"));
    m_tabs->addTab(buildPortPage(), QStringLiteral("Comm Port Settings"));
    m_tabs->addTab(buildDisplayPage(), QStringLiteral("Display Settings"));
    m_tabs->addTab(buildGraphPage(), QStringLiteral("Graphing Settings"));
    m_tabs->addTab(buildFaxPage(), QStringLiteral("Fax Settings"));
    m_tabs->addTab(buildPagingPage(), QStringLiteral("Paging Settings"));
    m_tabs->addTab(new SharingPage, QStringLiteral("Sharing"));

    auto *save = new QPushButton(QStringLiteral("Save"));
    save->setObjectName(QStringLiteral("Command1"));
    auto *exit = new QPushButton(QStringLiteral("Exit"));
    exit->setObjectName(QStringLiteral("Command2"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(exit);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addLayout(buttons);

    connect(save, &QPushButton::clicked, this, [this] { emit saveRequested(edited()); });
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    // Exit, Escape and the window's close button all end here.
    connect(this, &QDialog::finished, this, &NewSetup::exited);

    for (int i = 0; i < int(m_rows.size()); ++i) {
        connect(m_rows[i].enabled, &QCheckBox::clicked, this, [this, i](bool checked) {
            if (checked)
                choosePageType(i, 0);
        });
        connect(m_rows[i].pageType, &QComboBox::activated, this,
                [this, i](int index) { choosePageType(i, index); });
    }
    connect(m_graphStyle, &QComboBox::currentIndexChanged, this, &NewSetup::showStyleSample);
}

NewSetup::~NewSetup() = default;

void NewSetup::choosePageType(int row, int index)
{
    // An alarm page watches a high threshold unless told otherwise; reports watch none.
    m_rows[row].pageType->setCurrentIndex(index);
    m_rows[row].alarmType->setCurrentIndex(index > 1 ? 1 : 0);
}

void NewSetup::showStyleSample(int index)
{
    m_styleSample->setPixmap(graphStyleSample(index));
}

void NewSetup::load(const Configuration &config)
{
    m_loaded = config;
    for (const TextField &f : textFields)
        m_textBoxes.value(QString::fromLatin1(f.control))->setText(config.*f.member);
    for (const auto &f : intervalFields)
        m_textBoxes.value(QString::fromLatin1(f.control))
            ->setText(QString::number(config.*f.member));
    m_autoDisconnect->setChecked(config.AutoDisconnect);

    const QVariant ports[] = {int(config.StationPort), config.PagerPort, config.FtpPort};
    for (int g = 0; g < 3; ++g)
        checkOnly(m_portGroups[g], listIndex(variantNumber(ports[g]).value_or(0) - 1, 8));
    checkOnly(m_units, config.DisplayUnits == 0 ? 0 : config.DisplayUnits == 1 ? 1 : -1);

    for (int i = 0; i < int(m_rows.size()); ++i) {
        const PagerRow &row = config.Pagers[i];
        PagerRowControls &r = m_rows[i];
        r.number->setText(variantToText(row.PagerNumber));
        r.company->setText(variantToText(row.CompanyNumber));
        r.enabled->setChecked(variantEquals(row.Enabled, 1));
        r.pageType->setCurrentIndex(listIndex(row.PageType, r.pageType->count()));
        r.alarmType->setCurrentIndex(listIndex(row.AlarmType, r.alarmType->count()));
        r.setting->setText(variantToText(row.AlarmSetting));
    }

    m_graphStyle->setCurrentIndex(listIndex(config.Graph[GraphStyle], m_graphStyle->count()));
    showStyleSample(m_graphStyle->currentIndex());
    m_graphSize->setCurrentIndex(listIndex(config.Graph[GraphSize], m_graphSize->count()));
    m_graphHeader->setText(variantToText(config.Graph[GraphHeader]));
    m_graphPath->setText(variantToText(config.Graph[GraphUploadPath]));
    const QDateTime at = config.Graph[GraphUploadTime].toDateTime();
    m_graphTime->setTime(at.isValid() ? at.time() : QTime(0, 0));
    m_uploadGraphs->setChecked(variantEquals(config.Graph[UploadGraphs], 1));

    m_tabs->setCurrentIndex(FtpTab);
    m_faxLog->setCurrentIndex(0);

    m_shown.clear();
    for (QLineEdit *box : m_textBoxes)
        m_shown.insert(box, shownState(box));
    const QList<const QObject *> others = {
        m_portGroups[0], m_portGroups[1], m_portGroups[2], m_units,     m_graphStyle,
        m_graphSize,     m_graphHeader,   m_graphPath,     m_graphTime, m_uploadGraphs};
    for (const QObject *o : others)
        m_shown.insert(o, shownState(o));
    for (const PagerRowControls &r : m_rows)
        for (const QObject *o : std::initializer_list<const QObject *>{
                 r.number, r.company, r.enabled, r.pageType, r.alarmType, r.setting})
            m_shown.insert(o, shownState(o));
}

QVariant NewSetup::shownState(const QObject *control) const
{
    if (auto *box = qobject_cast<const QLineEdit *>(control))
        return box->text();
    if (auto *check = qobject_cast<const QCheckBox *>(control))
        return check->isChecked();
    if (auto *combo = qobject_cast<const QComboBox *>(control))
        return combo->currentIndex();
    if (auto *time = qobject_cast<const QTimeEdit *>(control))
        return time->time();
    if (auto *group = qobject_cast<const QButtonGroup *>(control))
        return group->checkedId();
    return {};
}

bool NewSetup::untouched(const QObject *control) const
{
    return m_shown.value(control) == shownState(control);
}

Configuration NewSetup::edited() const
{
    Configuration c = m_loaded;
    for (const TextField &f : textFields)
        c.*f.member = m_textBoxes.value(QString::fromLatin1(f.control))->text();
    for (const auto &f : intervalFields) {
        const QLineEdit *box = m_textBoxes.value(QString::fromLatin1(f.control));
        const QString text = box->text().trimmed();
        bool ok = text.isEmpty(); // an emptied box switches the job off
        const qint16 minutes = ok ? 0 : text.toShort(&ok);
        if (ok && !untouched(box))
            c.*f.member = minutes;
    }
    c.AutoDisconnect = m_autoDisconnect->isChecked();

    // With no button chosen in a group, the port keeps its value.
    if (m_portGroups[0]->checkedId() >= 0)
        c.StationPort = qint16(m_portGroups[0]->checkedId() + 1);
    QVariant *variantPorts[] = {nullptr, &c.PagerPort, &c.FtpPort};
    for (int g = 1; g < 3; ++g)
        if (m_portGroups[g]->checkedId() >= 0 && !untouched(m_portGroups[g]))
            *variantPorts[g] = m_portGroups[g]->checkedId() + 1;
    if (m_units->checkedId() >= 0 && !untouched(m_units))
        c.DisplayUnits = qint16(m_units->checkedId());

    // A cell the user left alone keeps its value as loaded: a number stays a number.
    const auto cell = [this](QVariant &target, const QObject *control, const QVariant &value) {
        if (!untouched(control))
            target = value;
    };
    for (int i = 0; i < int(m_rows.size()); ++i) {
        PagerRow &row = c.Pagers[i];
        const PagerRowControls &r = m_rows[i];
        cell(row.PagerNumber, r.number, r.number->text());
        cell(row.CompanyNumber, r.company, r.company->text());
        cell(row.Enabled, r.enabled, r.enabled->isChecked() ? 1 : 0);
        cell(row.PageType, r.pageType, r.pageType->currentIndex());
        cell(row.AlarmType, r.alarmType, r.alarmType->currentIndex());
        cell(row.AlarmSetting, r.setting, r.setting->text());
    }
    cell(c.Graph[GraphStyle], m_graphStyle, m_graphStyle->currentIndex());
    cell(c.Graph[GraphSize], m_graphSize, m_graphSize->currentIndex());
    cell(c.Graph[GraphHeader], m_graphHeader, m_graphHeader->text());
    cell(c.Graph[GraphUploadPath], m_graphPath, m_graphPath->text());
    // Only the hour and minute count; the date part stays what it was.
    const QDateTime was = m_loaded.Graph[GraphUploadTime].toDateTime();
    cell(c.Graph[GraphUploadTime], m_graphTime,
         QDateTime(was.isValid() ? was.date() : QDate(1899, 12, 30), m_graphTime->time()));
    cell(c.Graph[UploadGraphs], m_uploadGraphs, m_uploadGraphs->isChecked() ? 1 : 0);
    return c;
}

void NewSetup::setPortDevices(const QStringList &devices)
{
    for (const QList<QLabel *> &labels : m_portDevices)
        for (int k = 0; k < labels.size(); ++k)
            labels[k]->setText(devices.value(k));
}

void NewSetup::showTab(int index)
{
    m_tabs->setCurrentIndex(index);
}

QWidget *NewSetup::element(const QString &name, int index) const
{
    for (QWidget *w : findChildren<QWidget *>(name))
        if (w->property("index").toInt() == index && w->property("index").isValid())
            return w;
    return nullptr;
}

void NewSetup::showMessage(const QString &text)
{
    if (!m_message) {
        m_message =
            new QMessageBox(QMessageBox::Warning, windowTitle(), QString(), QMessageBox::Ok, this);
        m_message->setObjectName(QStringLiteral("SetupMessage"));
    }
    m_message->setText(text);
    m_message->open();
}

QWidget *NewSetup::controlOfField(const QString &field, QString *caption, int *tab) const
{
    for (const TextField &f : textFields) {
        if (field == QLatin1String(f.field)) {
            *caption = QString::fromLatin1(f.caption);
            *tab = f.tab;
            return m_textBoxes.value(QString::fromLatin1(f.control));
        }
    }
    static const QRegularExpression pagerCell(QStringLiteral("^Pagers\\[(\\d)\\]\\.(\\w+)$"));
    const QRegularExpressionMatch m = pagerCell.match(field);
    if (m.hasMatch()) {
        const int row = m.captured(1).toInt();
        const QString column = m.captured(2);
        *tab = PagingTab;
        const QString pager = QStringLiteral(" of pager %1").arg(row + 1);
        if (column == QLatin1String("PagerNumber")) {
            *caption = QStringLiteral("Pager Number") + pager;
            return m_rows[row].number;
        }
        if (column == QLatin1String("CompanyNumber")) {
            *caption = QStringLiteral("Pager Company Number") + pager;
            return m_rows[row].company;
        }
        *caption = QStringLiteral("Setting") + pager;
        return m_rows[row].setting;
    }
    *tab = GraphTab;
    if (field.endsWith(QLatin1String("GraphHeader"))) {
        *caption = QStringLiteral("Graph Header");
        return m_graphHeader;
    }
    if (field.endsWith(QLatin1String("GraphUploadPath"))) {
        *caption = QStringLiteral("Graph Upload Path");
        return m_graphPath;
    }
    *caption = field;
    return nullptr;
}

void NewSetup::showRefusal(const QString &field, const QString &reason)
{
    QString caption;
    int tab = FtpTab;
    if (QWidget *control = controlOfField(field, &caption, &tab)) {
        m_tabs->setCurrentIndex(tab);
        control->setFocus();
    }
    showMessage(QStringLiteral("\"%1\" %2. Nothing was saved; change it and press Save again.")
                    .arg(caption, reason));
}
