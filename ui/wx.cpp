// The main window: layout, readings, status bar, lamp, forecast, detail and preview windows.
#include "ui/wx.h"

#include "acquisition/readingsrecord.h"
#include "acquisition/stationlink.h"
#include "core/datetimeformat.h"
#include "core/programdir.h"
#include "core/statusboard.h"
#include "core/transferlog.h"
#include "ui/detailwindow.h"
#include "ui/gaugepanel.h"
#include "ui/readingbox.h"
#include "ui/readingpanel.h"
#include "ui/transferlogwindow.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

QString windowTitleFor(const QString &title)
{
    return title.isEmpty() ? QStringLiteral("Corvane") : title;
}

// Label41's BackColor is a 0x00BBGGRR value.
QColor colorFromBgr(int bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

} // namespace

Wx::Wx(ReadingsRecord &record, StatusBoard &status, ConfigurationSource configuration,
       QWidget *parent)
    : QMainWindow(parent), m_record(record), m_status(status),
      m_configuration(std::move(configuration))
{
    setObjectName(QStringLiteral("Wx"));
    setWindowTitle(windowTitleFor(status.title()));
    setCentralWidget(buildCentral());
    buildStatusBar();
    buildMenus();

    for (const ReadingLayout &layout : detailLayouts())
        m_details.push_back(std::make_unique<DetailWindow>(layout, record));

    connect(&record, &ReadingsRecord::groupChanged, this, &Wx::showReadings);
    connect(&status, &StatusBoard::titleChanged, this,
            [this](const QString &title) { setWindowTitle(windowTitleFor(title)); });
    showReadings();
}

Wx::~Wx()
{
    delete m_preview; // a top-level window of its own, open until closed
}

QWidget *Wx::buildCentral()
{
    auto *central = new QWidget(this);
    m_readings = new ReadingPanel(wxReadingLayout(), central);
    m_gauges = new GaugePanel(central);
    m_forecast = new QPlainTextEdit(central);
    m_forecast->setObjectName(QStringLiteral("Forecast"));
    m_forecast->setReadOnly(true);
    m_forecast->setMinimumHeight(fontMetrics().height() * 6);
    m_forecast->hide();

    auto *box = new QVBoxLayout(central);
    box->addWidget(m_readings);
    box->addWidget(m_gauges, 1);
    box->addWidget(m_forecast, 1);
    return central;
}

void Wx::buildStatusBar()
{
    auto *bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);
    setStatusBar(bar);

    m_commCount = new ReadingBox(QStringLiteral("CommCount"), QString(), bar);
    m_commCount->setToolTip(tr("Bytes waiting at the station port"));
    m_lamp = new QLabel(bar);
    m_lamp->setObjectName(QStringLiteral("Label41"));
    m_lamp->setToolTip(tr("Station activity"));
    const int side = fontMetrics().height() * 3 / 4;
    m_lamp->setFixedSize(side, side);
    m_lamp->setAutoFillBackground(true);
    setLampColor(0);
    // The scheduler's note on a skipped or abandoned job, beside the jobs' own status text.
    m_note = new QLabel(m_status.note(), bar);
    m_note->setObjectName(QStringLiteral("SchedulerNote"));
    connect(&m_status, &StatusBoard::noteChanged, m_note, &QLabel::setText);
    // Shows at a glance that the station is alive, beside the count and the lamp.
    m_lastFrame = new QLabel(tr("Last frame --:--:--"), bar);
    m_lastFrame->setObjectName(QStringLiteral("LastFrame"));
    m_lastFrame->setToolTip(tr("No frame from the station yet"));
    bar->addPermanentWidget(m_note);
    bar->addPermanentWidget(m_lastFrame);
    bar->addPermanentWidget(m_commCount);
    bar->addPermanentWidget(m_lamp);

    bar->showMessage(m_status.statusText());
    connect(&m_status, &StatusBoard::statusTextChanged, bar,
            [bar](const QString &text) { bar->showMessage(text); });
}

void Wx::showReadings()
{
    m_readings->showReadings(m_record);
    m_gauges->showReadings(m_record);
}

void Wx::followStationLink(const StationLink &link)
{
    connect(&link, &StationLink::commCountChanged, this, &Wx::setCommCount);
    connect(&link, &StationLink::lampColorChanged, this, &Wx::setLampColor);
    connect(&link, &StationLink::frameDecoded, this, &Wx::setLastFrameTime);
    setCommCount(link.commCount());
    setLampColor(link.lampColor());
    if (link.lastFrameMs() >= 0)
        setLastFrameTime(link.lastFrameTime());
}

void Wx::followTransferLog(const TransferLog &log)
{
    m_transferLog = &log;
    connect(&log, &TransferLog::entryAdded, statusBar(), [this](const TransferLogEntry &entry) {
        statusBar()->setToolTip(TransferLogWindow::entryLine(entry));
    });
    action(QStringLiteral("m_transferlog"))->setEnabled(true);
}

void Wx::showTransferLog()
{
    if (!m_transferLog)
        return;
    if (!m_transferLogWindow)
        m_transferLogWindow = new TransferLogWindow(*m_transferLog, this);
    m_transferLogWindow->show();
    m_transferLogWindow->raise();
    m_transferLogWindow->activateWindow();
}

void Wx::setCommCount(int count)
{
    m_commCount->setText(QString::number(count));
    m_commCount->repaint();
}

void Wx::setLampColor(int color)
{
    QPalette palette = m_lamp->palette();
    palette.setColor(QPalette::Window, colorFromBgr(color));
    m_lamp->setPalette(palette);
    m_lamp->repaint();
}

void Wx::setLastFrameTime(const QDateTime &time)
{
    m_lastFrame->setText(tr("Last frame %1").arg(time.time().toString(QStringLiteral("hh:mm:ss"))));
    m_lastFrame->setToolTip(tr("Last frame from the station: %1").arg(generalDate(time)));
}

void Wx::setForecastText(const QString &text)
{
    m_forecast->setPlainText(text);
}

void Wx::ToggleForecast()
{
    m_forecast->setVisible(m_forecast->isHidden());
}

DetailWindow *Wx::detailWindow(const QString &name) const
{
    for (const auto &w : m_details) {
        if (w->objectName() == name)
            return w.get();
    }
    return nullptr;
}

void Wx::showDetailWindow(const QString &name)
{
    if (DetailWindow *w = detailWindow(name))
        w->showAndRaise();
}

void Wx::ShowPreview()
{
    if (m_preview) {
        m_preview->show();
        m_preview->raise();
        m_preview->activateWindow();
        return;
    }
    // Page names in the configuration may be given relative to the program directory.
    QString preset = m_configuration().OutputFile1;
    if (!preset.isEmpty() && QFileInfo(preset).isRelative())
        preset = programFile(preset);
    auto *preview = new Preview(m_chooseFile);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    m_preview = preview;
    if (!preview->load(preset, this)) {
        preview->close();
        return;
    }
    preview->show();
}

void Wx::unloadWindows()
{
    m_details.clear();
    delete m_preview;
    delete m_transferLogWindow;
}

void Wx::closeEvent(QCloseEvent *event)
{
    unloadWindows();
    event->accept();
    emit endProgram();
}

bool Wx::event(QEvent *event)
{
    // Menu hovering would blank the status text with empty status tips; the status bar
    // shows only what the jobs report.
    if (event->type() == QEvent::StatusTip)
        return true;
    return QMainWindow::event(event);
}
