// The daily graphs of a month of one-minute records: five 1024 x 768 JPEGs from the month
// file, against gnuplot drawing the same five pictures from a CSV of the same columns.
#include "bench/widgetmain.h"
#include "bench/gnuplotrace.h"
#include "bench/logging/monthfile.h"
#include "charting/data/chartsession.h"
#include "config/configuration.h"
#include "core/statusboard.h"
#include "fakes/manualclock.h"
#include "graphs/dailygraphs.h"
#include "graphs/graphexport.h"

#include <QApplication>
#include <QFile>
#include <QTextStream>

#include <benchmark/benchmark.h>

namespace {

LoggedMonth &month()
{
    static LoggedMonth file;
    return file;
}

GraphRequest requestFor(int graph, const QString &folder)
{
    GraphRequest r;
    r.databasePath = month().path;
    r.ySpec = QString::fromLatin1(DailyGraphs::Graphs[graph].field);
    r.labelCount = 25;
    r.header = QStringLiteral("Station graphs");
    r.width = 1024;
    r.height = 768;
    r.baseName = QString::fromLatin1(DailyGraphs::Graphs[graph].baseName);
    r.imageFolder = folder;
    return r;
}

// The daily run itself: opening the file, reading, drawing and saving each of the five.
// The uploads "complete" as they are started, so no wait is left to the clock.
bool runFive(StatusBoard &status)
{
    ManualClock clock(kStart.addDays(30));
    Configuration config;
    config.Graph[GraphStyle] = 1;
    config.Graph[GraphSize] = 0;
    config.Graph[GraphHeader] = QStringLiteral("Station graphs");
    DailyGraphs run(clock, config, status, month().dir.path(),
                    [](const QString &, const QString &) { return true; });
    int uploads = 0;
    const QMetaObject::Connection started =
        QObject::connect(&status, &StatusBoard::statusTextChanged, [&](const QString &text) {
            if (text.startsWith(QLatin1String("Uploading "))) {
                ++uploads;
                run.graphUploadDone();
            }
        });
    run.start();
    while (run.isRunning())
        QCoreApplication::sendPostedEvents();
    QObject::disconnect(started);
    return uploads == 5;
}

// The month's date/time and five graph fields as CSV, and a gnuplot script for five JPEGs.
QString writeGnuplotInput(const QTemporaryDir &dir)
{
    const QString csv = dir.filePath(QStringLiteral("month.csv"));
    MonthTable table;
    QStringList fields{QStringLiteral("Date_Time")};
    for (const DailyGraphs::Graph &g : DailyGraphs::Graphs)
        fields << QString::fromLatin1(g.field);
    table.open(month().path, QStringLiteral("Outdoor Data"));
    table.fetch(fields);
    {
        QFile file(csv);
        file.open(QIODevice::WriteOnly);
        QTextStream out(&file);
        for (int r = 0; r < table.recordCount(); ++r) {
            out << table.text(table.fieldIndex(fields[0]), r);
            for (int f = 1; f < fields.size(); ++f)
                out << ',' << table.column(table.fieldIndex(fields[f]))[size_t(r)];
            out << '\n';
        }
    }
    const QString script = dir.filePath(QStringLiteral("graphs.gp"));
    QFile file(script);
    file.open(QIODevice::WriteOnly);
    QTextStream out(&file);
    out << "set terminal jpeg size 1024,768\nset datafile separator ','\n"
        << "set title 'Station graphs'\n";
    for (int g = 0; g < 5; ++g)
        out << "set output '" << dir.filePath(QStringLiteral("gp-%1.jpg").arg(g)) << "'\n"
            << "set ylabel '" << DailyGraphs::Graphs[g].field << "'\n"
            << "plot '" << csv << "' using 0:" << g + 2 << " with lines notitle\n";
    return script;
}

// The time reported is ours; gnuplot's and the ratio are counters.
void BM_FiveGraphsAgainstGnuplot(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString script = writeGnuplotInput(dir);
    StatusBoard status;

    raceAgainstGnuplot(state, "graphs", script, [&](QString *error) {
        const bool ok = runFive(status);
        *error = status.statusText();
        return ok;
    });
}
BENCHMARK(BM_FiveGraphsAgainstGnuplot)->UseManualTime()->Unit(benchmark::kMillisecond);

// The parts of one graph: drawing (file, read, chart) and saving the JPEG.
void BM_DrawOne(benchmark::State &state)
{
    QTemporaryDir dir;
    for (auto _ : state) {
        GraphPicture picture;
        benchmark::DoNotOptimize(picture.draw(requestFor(0, dir.path())).ok());
    }
}
BENCHMARK(BM_DrawOne)->Unit(benchmark::kMillisecond);

// The chart alone: the month was read by an earlier graph of the run.
void BM_DrawFromReadMonth(benchmark::State &state)
{
    QTemporaryDir dir;
    ChartSession session;
    GraphPicture(&session).draw(requestFor(0, dir.path()));
    for (auto _ : state) {
        GraphPicture picture(&session);
        benchmark::DoNotOptimize(picture.draw(requestFor(0, dir.path())).ok());
    }
}
BENCHMARK(BM_DrawFromReadMonth)->Unit(benchmark::kMillisecond);

void BM_SaveOne(benchmark::State &state)
{
    QTemporaryDir dir;
    GraphPicture picture;
    picture.draw(requestFor(0, dir.path()));
    for (auto _ : state)
        benchmark::DoNotOptimize(picture.save(dir.filePath("temp.jpg"), 1024, 768).ok());
}
BENCHMARK(BM_SaveOne)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv);
}
