// The "Automated Reporting" window: its controls, the folder lists and "Print Reports".
#include "ui/autograph.h"

#include "charting/chart2d.h"
#include "core/programdir.h"
#include "ui/chartdialogs.h"
#include "ui/chartmain.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

template <typename W> W *named(W *w, const char *objectName)
{
    w->setObjectName(QString::fromLatin1(objectName));
    return w;
}

// "Standard Print", "Fit To Page", "Fit To Height", "Fit To Width" in Option1's order.
const struct
{
    const char *caption;
    PrintScaling scaling;
} kScalings[] = {
    {"Standard Print", PrintScaling::Standard},
    {"Fit To Page", PrintScaling::FitPage},
    {"Fit To Height", PrintScaling::FitHeight},
    {"Fit To Width", PrintScaling::FitWidth},
};

QStringList selectedTexts(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i) // in list order, not in the order of clicking
        if (list->item(i)->isSelected())
            out << list->item(i)->text();
    return out;
}

} // namespace

AutoGraph::AutoGraph(ChartMain &chart, Clock &clock, ChartDialogs &dialogs, QWidget *parent)
    : QWidget(parent, Qt::Window), m_chart(chart), m_clock(clock), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("AutoGraph"));
    setWindowTitle(QStringLiteral("Automated Reporting"));
    auto *box = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    top->addWidget(buildFolders(), 1);
    top->addWidget(buildFields(), 1);
    box->addLayout(top, 1);
    box->addWidget(buildOptions());
    m_status = named(new QStatusBar(this), "StatusBar1");
    m_status->setSizeGripEnabled(false);
    box->addWidget(m_status);

    // The chart window's table choice fills the field lists.
    connect(&m_chart, &ChartMain::reportFieldsCleared, this, &AutoGraph::clearFields);
    connect(&m_chart, &ChartMain::reportFieldsListed, this, &AutoGraph::listFields);
    listFields(m_chart.session().fields());
    const QString open = m_chart.session().databasePath();
    setFolder(open.isEmpty() ? programDirectory() : QFileInfo(open).absolutePath());
    resize(820, 560);
}

AutoGraph::~AutoGraph() = default;

QWidget *AutoGraph::buildFolders()
{
    auto *frame = named(new QGroupBox(QStringLiteral("Database Selection"), this), "Frame1");
    auto *box = new QVBoxLayout(frame);
    m_drive = named(new QComboBox(frame), "Drive1");
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && m_drive->findText(volume.rootPath()) < 0)
            m_drive->addItem(volume.rootPath());
    }
    m_folders = new QFileSystemModel(this);
    m_folders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    m_folders->setRootPath(QDir::rootPath());
    m_dir = named(new QTreeView(frame), "Dir1");
    m_dir->setModel(m_folders);
    for (int column = 1; column < m_folders->columnCount(); ++column)
        m_dir->hideColumn(column);
    m_dir->setHeaderHidden(true);
    m_files = named(new QListWidget(frame), "File1");
    box->addWidget(m_drive);
    box->addWidget(m_dir, 2);
    box->addWidget(m_files, 1);

    connect(m_drive, &QComboBox::textActivated, this, &AutoGraph::setDrive);
    connect(m_dir, &QTreeView::clicked, this,
            [this](const QModelIndex &index) { setFolder(m_folders->filePath(index)); });
    return frame;
}

QWidget *AutoGraph::buildFields()
{
    auto *panel = new QWidget(this);
    auto *box = new QHBoxLayout(panel);
    box->setContentsMargins(0, 0, 0, 0);
    const auto fieldList = [&](const char *frameName, const char *caption, const char *name) {
        auto *frame = named(new QGroupBox(QString::fromLatin1(caption), panel), frameName);
        auto *list = named(new QListWidget(frame), name);
        list->setSelectionMode(QAbstractItemView::MultiSelection);
        (new QVBoxLayout(frame))->addWidget(list);
        box->addWidget(frame);
        return list;
    };
    m_yFields = fieldList("Frame2", "Y Axis  Fields", "GFieldsY");
    m_y2Fields = fieldList("Frame3", "Y2 Axis  Fields", "GFieldsY2");
    return panel;
}

QWidget *AutoGraph::buildOptions()
{
    auto *panel = new QWidget(this);
    auto *box = new QHBoxLayout(panel);
    auto *form = new QFormLayout;
    m_header = named(new QLineEdit(panel), "AutoHeader");
    m_order = named(new QLineEdit(QStringLiteral("1"), panel), "Text1");
    m_labels = named(new QLineEdit(QStringLiteral("20"), panel), "NumXlabels");
    form->addRow(QStringLiteral("Graph Title"), m_header);
    form->addRow(QStringLiteral("ChartGroup Drawing Order"), m_order);
    form->addRow(QStringLiteral("Num of X Axis Labels"), m_labels);
    box->addLayout(form, 2);

    auto *checks = new QVBoxLayout;
    m_seriesLabels = named(new QCheckBox(QStringLiteral("Show Series Labels"), panel), "Check1");
    m_dateTimeLabels =
        named(new QCheckBox(QStringLiteral("Show X Axis Date/Time"), panel), "Check2");
    m_mathFigures = named(new QCheckBox(QStringLiteral("Include Math Figures"), panel), "Check3");
    for (QCheckBox *c : {m_seriesLabels, m_dateTimeLabels, m_mathFigures})
        checks->addWidget(c);
    box->addLayout(checks, 1);

    auto *options = named(new QGroupBox(QStringLiteral("Print"), panel), "Frame4");
    auto *scalings = new QVBoxLayout(options);
    for (int i = 0; i < 4; ++i) {
        auto *option =
            named(new QRadioButton(QString::fromLatin1(kScalings[i].caption), options), "Option1");
        option->setProperty("index", i);
        scalings->addWidget(option);
        m_scaling << option;
    }
    m_scaling.first()->setChecked(true);
    box->addWidget(options, 1);

    auto *buttons = new QVBoxLayout;
    auto *print = named(new QPushButton(QStringLiteral("Print Reports"), panel), "Command3");
    auto *exit = named(new QPushButton(QStringLiteral("Exit"), panel), "Command4");
    buttons->addWidget(print);
    buttons->addWidget(exit);
    buttons->addStretch(1);
    box->addLayout(buttons);
    connect(print, &QPushButton::clicked, this, &AutoGraph::printReports);
    connect(exit, &QPushButton::clicked, this, &QWidget::hide);
    return panel;
}

void AutoGraph::showEvent(QShowEvent *event)
{
    m_header->setText(m_chart.chart()->headerText());
    if (QAction *labels = m_chart.action(QStringLiteral("m_sl")); labels && labels->isChecked())
        m_seriesLabels->setChecked(true);
    QWidget::showEvent(event);
}

void AutoGraph::setDrive(const QString &root)
{
    m_dir->setRootIndex(m_folders->index(root));
    setFolder(root);
}

void AutoGraph::setFolder(const QString &folder)
{
    m_folder = folder;
    const QModelIndex index = m_folders->index(folder);
    m_dir->setCurrentIndex(index);
    m_dir->scrollTo(index);
    m_files->clear();
    // Month files are "JAN2026.MDB": the pattern "*.mdb" takes any case of letters.
    m_files->addItems(QDir(folder).entryList({QStringLiteral("*.mdb")}, QDir::Files,
                                             QDir::Name | QDir::IgnoreCase));
}

void AutoGraph::clearFields()
{
    m_yFields->clear();
    m_y2Fields->clear();
}

void AutoGraph::listFields(const QStringList &fields)
{
    // During a run the lists keep their choices; a file's fields already listed stay once.
    for (QListWidget *list : {m_yFields, m_y2Fields}) {
        for (const QString &field : fields) {
            if (list->findItems(field, Qt::MatchExactly).isEmpty())
                list->addItem(field);
        }
    }
}

ReportSettings AutoGraph::settings() const
{
    ReportSettings s;
    s.folder = m_folder;
    for (int i = 0; i < m_files->count(); ++i)
        s.files << m_files->item(i)->text();
    s.yFields = selectedTexts(m_yFields);
    s.y2Fields = selectedTexts(m_y2Fields);
    s.header = m_header->text();
    s.drawingOrder = m_order->text().trimmed();
    s.seriesLabels = m_seriesLabels->isChecked();
    s.dateTimeLabels = m_dateTimeLabels->isChecked();
    bool ok = false;
    const double count = m_labels->text().trimmed().toDouble(&ok);
    s.labelCount = ok && count >= 2 && count <= 1e9 ? qRound(count) : 0;
    s.mathFigures = m_mathFigures->isChecked();
    for (int i = 0; i < m_scaling.size(); ++i)
        if (m_scaling[i]->isChecked())
            s.scaling = kScalings[i].scaling;
    return s;
}

QString AutoGraph::statusText() const
{
    return m_status->currentMessage();
}

void AutoGraph::printReports()
{
    if (isPrinting())
        return;
    const ReportSettings s = settings();
    if (s.dateTimeLabels && s.labelCount < 2) {
        m_dialogs.tell(this, QStringLiteral("Number entered must be 2 or more"));
        return;
    }
    if (s.files.isEmpty()) {
        m_status->showMessage(QStringLiteral("There are no database files in %1")
                                  .arg(QDir::toNativeSeparators(m_folder)));
        return;
    }
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_printer->setPageOrientation(QPageLayout::Landscape);
    QPointer<AutoGraph> self(this);
    m_dialogs.choosePrinter(this, m_printer.get(), [self, s](bool accepted) {
        if (!self || !accepted)
            return;
        self->m_run =
            std::make_unique<AutoGraphRun>(self->m_chart, self->m_clock, *self->m_printer, s);
        connect(self->m_run.get(), &AutoGraphRun::status, self->m_status,
                [status = self->m_status](const QString &text) { status->showMessage(text); });
        connect(self->m_run.get(), &AutoGraphRun::fileStarted, self->m_files,
                [files = self->m_files](int row) { files->setCurrentRow(row); });
        connect(self->m_run.get(), &Job::finished, self, &AutoGraph::reportsPrinted);
        self->m_run->start();
    });
}
