// The chart window's output commands: the chart format file, the clipboard, JPEG and print.
#include "ui/chartmain.h"

#include "charting/chart2d.h"
#include "ui/chartdialogs.h"

#include <QListWidget>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QRadioButton>
#include <QSignalBlocker>

namespace {

// The page's margins in printer pixels: 25 left and top; the width and height leave 250
// and 125 more to the right and below.
constexpr int kPrintLeft = 25;
constexpr int kPrintTop = 25;
constexpr int kPrintWidthLess = 275;
constexpr int kPrintHeightLess = 150;

} // namespace

void ChartMain::loadChartType()
{
    QPointer<ChartMain> self(this);
    m_dialogs.chooseFile(this, false, QString(), QString(), [self](const QString &path) {
        // A cancel (or a name too short to be one) changes nothing.
        if (!self || path.size() <= 4)
            return;
        Chart2D *chart = self->m_chart;
        const int g = self->activeGroup();
        const int other = 3 - g;
        const QStringList kept = chart->boundFields(other);
        QString error;
        if (!chart->loadFormat(path, &error)) {
            self->m_dialogs.tell(self,
                                 QStringLiteral("Corvane could not load %1: %2").arg(path, error));
            return;
        }
        // The file brings its own fields and mouse bindings; the window's lists and mode
        // stay the truth: the active group starts empty, the other keeps its series.
        while (chart->boundFieldCount(g) > 0)
            chart->removeBoundField(g, 1);
        chart->clearPointLabels(g);
        self->seriesList(g)->clear();
        while (chart->boundFieldCount(other) > 0)
            chart->removeBoundField(other, 1);
        for (const QString &field : kept)
            chart->addBoundField(other, field);
        for (int i = 0; i < self->m_modes.size(); ++i) {
            if (self->m_modes[i]->isChecked())
                self->setMouseMode(i);
        }
        // The check marks show what the file set.
        const auto mark = [self](const char *item, bool on) {
            QAction *a = self->m_actions.value(QString::fromLatin1(item));
            const QSignalBlocker quiet(a);
            a->setChecked(on);
        };
        mark("m_xag", chart->gridSpacing(ChartAxis::X) != 0.0);
        mark("m_yag", chart->gridSpacing(ChartAxis::Y) != 0.0);
        mark("m_sl", chart->seriesLabels(1));
    });
}

void ChartMain::saveChartType()
{
    QPointer<ChartMain> self(this);
    m_dialogs.chooseFile(this, true, QString(), QString(), [self](const QString &path) {
        if (!self || path.isEmpty())
            return;
        QString error;
        if (!self->m_chart->saveFormat(path, &error))
            self->m_dialogs.tell(self,
                                 QStringLiteral("Corvane could not save %1: %2").arg(path, error));
    });
}

void ChartMain::copyChart()
{
    if (!m_chart->copyToClipboard(ClipboardFormat::BitmapAndVector))
        m_dialogs.tell(this, QStringLiteral("Corvane could not copy the chart to the clipboard."));
}

void ChartMain::saveChartJpeg()
{
    QPointer<ChartMain> self(this);
    m_dialogs.chooseFile(this, true, QStringLiteral("JPG (*.JPG *.jpg)"), QStringLiteral("JPG"),
                         [self](const QString &path) {
                             if (!self || path.isEmpty())
                                 return;
                             if (!self->m_chart->saveJpeg(path, 100, false, true, true))
                                 self->m_dialogs.tell(
                                     self, QStringLiteral("Corvane could not save %1.").arg(path));
                         });
}

void ChartMain::printChart(PrintFormat format, PrintScaling scaling)
{
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setPageOrientation(QPageLayout::Landscape);
    }
    QPointer<ChartMain> self(this);
    m_dialogs.choosePrinter(this, m_printer.get(), [self, format, scaling](bool accepted) {
        if (!self || !accepted)
            return;
        QPrinter *printer = self->m_printer.get();
        printer->setPageOrientation(QPageLayout::Landscape);
        QPainter painter;
        bool printed = painter.begin(printer) &&
                       self->m_chart->print(&painter, format, scaling, kPrintLeft, kPrintTop,
                                            printer->width() - kPrintWidthLess,
                                            printer->height() - kPrintHeightLess);
        // end() sends the page; a printer that never began has nothing to end.
        if (painter.isActive())
            printed = painter.end() && printed;
        if (!printed)
            self->m_dialogs.tell(self, QStringLiteral("Corvane could not print the chart."));
    });
}
