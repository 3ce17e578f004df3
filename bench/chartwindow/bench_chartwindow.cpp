// Opening a month of one-minute records in the chart window and drawing three series, and
// printing the automated report of twelve such months, without the wait window's fixed
// seconds (the window's clock is a manual one).
#include "bench/logging/monthfile.h"
#include "charting/chart2d.h"
#include "charting/data/monthtable.h"
#include "fakes/manualclock.h"
#include "ui/autograph.h"
#include "ui/chartdialogs.h"
#include "ui/chartmain.h"

#include <QCheckBox>
#include <QDir>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <QApplication>
#include <QFileInfo>

#include <benchmark/benchmark.h>

namespace {

// The window asks nothing on this path; a message would mean the file did not open.
struct SilentDialogs final : ChartDialogs
{
    int told = 0;
    void chooseDatabase(QWidget *, const QString &, std::function<void(const QString &)>) override
    {
    }
    void askYesNo(QWidget *, const QString &, std::function<void(bool)>) override {}
    void askText(QWidget *, const QString &, const QString &,
                 std::function<void(const QString &)>) override
    {
    }
    void tell(QWidget *, const QString &) override { ++told; }
    void chooseFile(QWidget *, bool, const QString &, const QString &,
                    std::function<void(const QString &)>) override
    {
    }
    void chooseColor(QWidget *, const QColor &, std::function<void(const QColor &)>) override {}
    // Prints to `pdf` when set, as "Print to File (PDF)" does.
    QString pdf;
    void choosePrinter(QWidget *, QPrinter *printer, std::function<void(bool)> answered) override
    {
        if (pdf.isEmpty())
            return;
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        answered(true);
    }
};

LoggedMonth &month()
{
    static LoggedMonth file;
    return file;
}

// The data source alone: the three fields, or every field, of "Outdoor Data".
void BM_ReadOutdoorFields(benchmark::State &state)
{
    const bool all = state.range(0) != 0;
    MonthTable table;
    for (auto _ : state) {
        bool ok = table.open(month().path, outdoorTableName()).ok();
        ok = ok &&
             (all ? table.fetchAll() : table.fetch({"Temperature", "Humidity", "Dewpoint"})).ok();
        if (!ok || table.values("Dewpoint").size() != size_t(LoggedMonth::kRecords))
            state.SkipWithError("the table was not read");
    }
    state.SetLabel(all ? "every field" : "three fields");
}

void BM_OpenAndShow3Series(benchmark::State &state)
{
    ManualClock clock;
    SilentDialogs dialogs;
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<ChartMain>(clock, dialogs);
        window->resize(1024, 768);
        state.ResumeTiming();

        window->openDatabase(month().path);
        for (const char *field : {"Temperature", "Humidity", "Dewpoint"})
            window->addSeries(QString::fromLatin1(field));
        clock.advanceMs(1000); // the wait window's second passes at once
        benchmark::DoNotOptimize(window->chart()->grab());

        state.PauseTiming();
        if (dialogs.told || window->chart()->pointCount(1, 3) != LoggedMonth::kRecords)
            state.SkipWithError("the series were not drawn from every record");
        window.reset();
        state.ResumeTiming();
    }
    state.counters["file_MB"] = double(QFileInfo(month().path).size()) / (1024.0 * 1024.0);
}

// "Print Reports" over a folder of twelve month files: Temperature on Y, Humidity on Y2,
// 20 date/time labels, the math figures, "Fit To Page", into one PDF file.
void BM_PrintReport12Months(benchmark::State &state)
{
    QTemporaryDir folder(QStringLiteral("bench-report-XXXXXX"));
    const char *const months[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                  "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    for (const char *m : months) {
        if (!QFile::copy(month().path,
                         folder.filePath(QString::fromLatin1(m) + QStringLiteral("2026.MDB"))))
            state.SkipWithError("the month files were not copied");
    }
    ManualClock clock;
    SilentDialogs dialogs;
    dialogs.pdf = folder.filePath(QStringLiteral("report.pdf"));
    int pages = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<ChartMain>(clock, dialogs);
        window->resize(1024, 768);
        window->openDatabase(QDir(folder.path()).filePath(QStringLiteral("JAN2026.MDB")));
        AutoGraph *report = window->showAutoGraph();
        report->setFolder(folder.path());
        for (const auto &[list, field] :
             {std::pair{"GFieldsY", "Temperature"}, std::pair{"GFieldsY2", "Humidity"}})
            report->findChild<QListWidget *>(list)
                ->findItems(QString::fromLatin1(field), Qt::MatchExactly)
                .value(0)
                ->setSelected(true);
        for (const char *check : {"Check2", "Check3"})
            report->findChild<QCheckBox *>(check)->setChecked(true);
        report->findChildren<QRadioButton *>(QStringLiteral("Option1")).at(1)->setChecked(true);
        state.ResumeTiming();

        report->findChild<QPushButton *>(QStringLiteral("Command3"))->click();
        while (report->isPrinting())
            clock.advanceMs(1000); // the wait window's seconds pass at once

        state.PauseTiming();
        pages = report->statusText() == QStringLiteral("Printed 12 of 12 reports") ? 12 : 0;
        if (pages != 12)
            state.SkipWithError(qPrintable(report->statusText()));
        window.reset();
        state.ResumeTiming();
    }
    state.counters["pages"] = pages;
    state.counters["pdf_MB"] = double(QFileInfo(dialogs.pdf).size()) / (1024.0 * 1024.0);
}

} // namespace

BENCHMARK(BM_ReadOutdoorFields)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenAndShow3Series)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrintReport12Months)->Unit(benchmark::kMillisecond)->Iterations(2);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "qt.qpa.*=false");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    month(); // built once, before any timing
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
