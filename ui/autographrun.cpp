// The steps of "Print Reports", one file after another on the chart window.
#include "ui/autographrun.h"

#include "charting/chart2d.h"
#include "charting/data/chartstatistics.h"
#include "core/clock.h"
#include "ui/chartmain.h"
#include "ui/waitform.h"

#include <QDir>
#include <QPointer>
#include <QPrinter>

namespace {

// The same margins as the chart window's print commands, in printer pixels.
constexpr int kPrintLeft = 25;
constexpr int kPrintTop = 25;
constexpr int kPrintWidthLess = 275;
constexpr int kPrintHeightLess = 150;

} // namespace

AutoGraphRun::AutoGraphRun(ChartMain &chart, Clock &clock, QPrinter &printer,
                           ReportSettings settings, QObject *parent)
    : Job(parent), m_chart(chart), m_printer(printer), m_settings(std::move(settings)),
      m_timer(clock.createTimer())
{
    m_timer->setSingleShot(true);
    m_timer->setInterval(0); // the next step once pending events have run
    connect(m_timer.get(), &ClockTimer::timeout, this, [this] {
        if (isRunning() && m_step)
            (this->*m_step)();
    });
}

AutoGraphRun::~AutoGraphRun()
{
    abandon();
}

void AutoGraphRun::run()
{
    m_index = 0;
    m_pages = 0;
    m_skipped.clear();
    m_chart.setAutomatedRun(true);
    m_printer.setPageOrientation(QPageLayout::Landscape);
    nextFile();
}

void AutoGraphRun::stopSteps()
{
    m_timer->stop();
    if (m_painter.isActive())
        m_painter.end(); // the pages so far
    m_chart.setAutomatedRun(false);
}

void AutoGraphRun::later(void (AutoGraphRun::*step)())
{
    m_step = step;
    m_timer->start();
}

void AutoGraphRun::nextFile()
{
    if (m_index >= m_settings.files.size()) {
        end();
        return;
    }
    emit fileStarted(m_index);
    // Both groups start empty, so that no series of the last file stays bound.
    for (int group : {1, 0}) {
        m_chart.switchActiveGroup(group);
        m_chart.clearChartGroup();
    }
    const QString path = QDir(m_settings.folder).filePath(fileName());
    const LogResult opened = m_chart.openFirstTable(path);
    if (!opened.ok()) {
        m_skipped << fileName();
        emit status(QStringLiteral("Corvane could not open %1: %2").arg(fileName(), opened.error));
        ++m_index;
        later(&AutoGraphRun::nextFile);
        return;
    }
    later(&AutoGraphRun::bindFields);
}

void AutoGraphRun::bindFields()
{
    const QStringList missing = m_chart.bindReportSeries(1, m_settings.yFields) +
                                m_chart.bindReportSeries(2, m_settings.y2Fields);
    if (!missing.isEmpty())
        emit status(QStringLiteral("%1 has no field %2").arg(fileName(), missing.join(", ")));
    Chart2D *chart = m_chart.chart();
    if (m_settings.drawingOrder == QLatin1String("1"))
        chart->setDrawingOrder(1, DrawingOrder::Front);
    else if (m_settings.drawingOrder == QLatin1String("2"))
        chart->setDrawingOrder(2, DrawingOrder::Front);
    for (int group : {1, 2}) {
        chart->setChartType(group, ChartType::Plot);
        chart->setSeriesLabels(group, m_settings.seriesLabels);
    }
    chart->setHeaderText(m_settings.header);
    addLabels();
}

void AutoGraphRun::addLabels()
{
    if (!m_settings.dateTimeLabels) {
        addFigures();
        return;
    }
    QPointer<AutoGraphRun> self(this);
    m_chart.waitForm()->runAfterWait([self] {
        if (!self || !self->isRunning())
            return;
        self->m_chart.chart()->clearPointLabels(1);
        if (!self->m_chart.showDateTimeLabels(self->m_settings.labelCount))
            emit self->status(
                QStringLiteral("%1 has no date/time field to label").arg(self->fileName()));
        self->addFigures();
    });
}

void AutoGraphRun::addFigures()
{
    if (!m_settings.mathFigures) {
        printPage();
        return;
    }
    QPointer<AutoGraphRun> self(this);
    m_chart.waitForm()->runAfterWait([self] {
        if (!self || !self->isRunning())
            return;
        const std::optional<SeriesStatistics> stats = self->m_chart.seriesOneStatistics();
        if (stats) // no series, no figures
            self->m_chart.chart()->setFooterText(mathFigures(*stats));
        self->printPage();
    });
}

void AutoGraphRun::printPage()
{
    if (m_painter.isActive()) {
        m_printer.newPage();
    } else if (!m_painter.begin(&m_printer)) {
        emit status(QStringLiteral("Corvane could not print the reports."));
        m_chart.setAutomatedRun(false);
        finish();
        return;
    }
    Chart2D *chart = m_chart.chart();
    chart->refresh();
    // Every option prints vectors (format 4), "Fit To Page" included.
    if (!chart->print(&m_painter, PrintFormat::Vector, m_settings.scaling, kPrintLeft, kPrintTop,
                      m_printer.width() - kPrintWidthLess, m_printer.height() - kPrintHeightLess))
        emit status(QStringLiteral("Corvane could not print %1.").arg(fileName()));
    ++m_pages;
    emit status(QStringLiteral("Printed %1").arg(fileName()));
    ++m_index;
    later(&AutoGraphRun::nextFile);
}

void AutoGraphRun::end()
{
    // A new page is started only before the next one, so no blank page ends the document.
    const bool printed = !m_painter.isActive() || m_painter.end();
    m_chart.setAutomatedRun(false);
    QString text =
        QStringLiteral("Printed %1 of %2 reports").arg(m_pages).arg(m_settings.files.size());
    if (!m_skipped.isEmpty())
        text += QStringLiteral("; not printed: ") + m_skipped.join(QStringLiteral(", "));
    if (!printed)
        text = QStringLiteral("Corvane could not finish printing the reports.");
    emit status(text);
    finish();
}
