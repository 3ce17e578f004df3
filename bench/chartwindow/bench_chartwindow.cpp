// Opening a month of one-minute records in the chart window and drawing three series, a
// year of them through "Open Range...", and printing the automated report of twelve months,
// without the wait window's fixed seconds (the window's clock is a manual one).
#include "bench/logging/monthfile.h"
#include "charting/chart2d.h"
#include "charting/data/monthrange.h"
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
#include <sys/resource.h>

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

// A year of one-minute logging, 2026 (525,600 record pairs in 12 month files). Writing it
// takes minutes, so it is kept in the temporary folder and written again only when its
// last file is missing.
QString loggedYear()
{
    static const QString folder = [] {
        const QString dir = QDir::temp().filePath(QStringLiteral("corvane-bench-year-2026"));
        const QString done = QDir(dir).filePath(QStringLiteral("complete"));
        if (QFile::exists(done))
            return dir;
        QDir(dir).removeRecursively();
        QDir().mkpath(dir);
        for (int m = 1; m <= 12; ++m) {
            const QDate first(2026, m, 1);
            logMinutes(dir, QDateTime(first, QTime(0, 0)), first.daysInMonth() * 24 * 60);
        }
        QFile(done).open(QIODevice::WriteOnly);
        return dir;
    }();
    return folder;
}

constexpr int kYearRecords = 365 * 24 * 60;
const QSize kFrame(1024, 768);

double peakResidentMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

// "Open Range..." over the year: read "Outdoor Data" of the 12 files and draw Temperature
// and Humidity, without the wait window's second.
std::unique_ptr<ChartMain> openYear(ManualClock &clock, SilentDialogs &dialogs)
{
    auto window = std::make_unique<ChartMain>(clock, dialogs);
    window->resize(kFrame);
    window->setDatabaseFolder(loggedYear());
    window->openRange(QDate(2026, 1, 1), QDate(2026, 12, 1), outdoorTableName());
    window->addSeries(QStringLiteral("Temperature"));
    window->addSeries(QStringLiteral("Humidity"));
    clock.advanceMs(1000); // both fields are read in one query per file
    return window;
}

void BM_OpenRangeYear(benchmark::State &state)
{
    loggedYear();
    ManualClock clock;
    SilentDialogs dialogs;
    for (auto _ : state) {
        auto window = openYear(clock, dialogs);
        benchmark::DoNotOptimize(window->chart()->renderImage(kFrame));
        state.PauseTiming();
        // Drawn against the times: the X axis starts in 2026, not at record 0.
        if (dialogs.told || window->chart()->pointCount(1, 2) != kYearRecords ||
            window->session().range().missingFiles().size() != 0 ||
            window->chart()->axisRange(ChartAxis::X).first < 1.7e9)
            state.SkipWithError("the year was not drawn from every record");
        window.reset();
        state.ResumeTiming();
    }
    state.counters["points"] = 2.0 * kYearRecords;
    state.counters["peak_RSS_MB"] = peakResidentMegabytes();
}

// The data source alone: the year's two fields and date/time read and put in time order.
void BM_ReadRangeYear(benchmark::State &state)
{
    loggedYear();
    for (auto _ : state) {
        MonthRange range;
        const bool ok =
            range.open(loggedYear(), QDate(2026, 1, 1), QDate(2026, 12, 1), outdoorTableName())
                .ok() &&
            range.fetch({QStringLiteral("Temperature"), QStringLiteral("Humidity")}).ok();
        if (!ok || range.recordCount() != kYearRecords)
            state.SkipWithError("the year was not read");
    }
}

// One frame after a pan step over the whole year on its date axis.
void BM_PanRangeYearFrame(benchmark::State &state)
{
    ManualClock clock;
    SilentDialogs dialogs;
    auto window = openYear(clock, dialogs);
    Chart2D &chart = *window->chart();
    benchmark::DoNotOptimize(chart.renderImage(kFrame)); // the first build is not a frame
    const QPoint start = chart.plotArea().center();
    chart.performAction(int(ChartAction::StartDrag), start);
    int step = 0;
    for (auto _ : state) {
        const int dx = (step++ % 40) - 20;
        chart.performAction(int(ChartAction::Move), start + QPoint(dx, dx / 2));
        benchmark::DoNotOptimize(chart.renderImage(kFrame));
    }
    chart.performAction(int(ChartAction::EndDrag), start);
    if (chart.pointCount(1, 2) != kYearRecords)
        state.SkipWithError("the year was not drawn");
    state.counters["peak_RSS_MB"] = peakResidentMegabytes();
}

} // namespace

BENCHMARK(BM_OpenRangeYear)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadRangeYear)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PanRangeYearFrame)->Unit(benchmark::kMillisecond);
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
