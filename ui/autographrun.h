// One run of "Print Reports": a page for each month file of a folder, drawn on the chart
// window with the same fields, titles and options.
#pragma once

#include "charting/charttypes.h"
#include "core/job.h"

#include <QPainter>
#include <QStringList>
#include <functional>
#include <memory>

class ChartMain;
class Clock;
class ClockTimer;
class QPrinter;

struct ReportSettings
{
    QString folder;
    QStringList files; // names in the folder, in list order
    QStringList yFields;
    QStringList y2Fields;
    QString header;
    QString drawingOrder = QStringLiteral("1"); // "1": group 1 in front; "2": group 2
    bool seriesLabels = false;
    bool dateTimeLabels = false;
    int labelCount = 20;
    bool mathFigures = false;
    PrintScaling scaling = PrintScaling::Standard;
};

// Each file is a step of its own on the clock's timer, and the date/time labels and the
// statistics each wait for the wait window, so the window stays live between pages. A file
// that does not open, or has no table, is reported and left out; the run goes on.
class AutoGraphRun final : public Job
{
    Q_OBJECT
public:
    AutoGraphRun(ChartMain &chart, Clock &clock, QPrinter &printer, ReportSettings settings,
                 QObject *parent = nullptr);
    ~AutoGraphRun() override;

    int pagesPrinted() const { return m_pages; }
    QStringList skipped() const { return m_skipped; }

signals:
    void status(const QString &text);
    // The file of `index` in the settings' list is being drawn.
    void fileStarted(int index);

protected:
    void run() override;
    void stopSteps() override;

private:
    void later(void (AutoGraphRun::*step)());
    void nextFile();
    void bindFields();
    void addLabels();
    void addFigures();
    void printPage();
    void end();
    QString fileName() const { return m_settings.files.value(m_index); }

    ChartMain &m_chart;
    QPrinter &m_printer;
    ReportSettings m_settings;
    std::unique_ptr<ClockTimer> m_timer;
    void (AutoGraphRun::*m_step)() = nullptr;
    QPainter m_painter;
    int m_index = 0;
    int m_pages = 0;
    QStringList m_skipped;
};
