// A month of one-minute records in the chart: panning and zooming frames, the JPEG
// export against gnuplot drawing the same picture, and the memory the month costs.
#include "bench/widgetmain.h"
#include "bench/gnuplotrace.h"
#include "charting/chart2d.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <unistd.h>

namespace {

constexpr int MonthPoints = 31 * 24 * 60; // 44,640

// Weather-like series: a daily swing plus a random walk, the same on every run.
std::vector<double> synthetic(unsigned seed, double mean, double swing)
{
    std::mt19937 rng(seed);
    std::normal_distribution<double> step(0.0, 0.05);
    std::vector<double> y(MonthPoints);
    double walk = 0;
    for (int i = 0; i < MonthPoints; ++i) {
        walk += step(rng);
        y[size_t(i)] = mean + swing * std::sin(i * 2 * M_PI / 1440) + walk;
    }
    return y;
}

void bindMonth(MemoryChartData &data, Chart2D &chart, int series)
{
    const char *names[] = {"Temperature", "Dewpoint", "Humidity"};
    for (int s = 0; s < series; ++s) {
        data.setValues(names[s], synthetic(unsigned(s + 1), 50 + 10 * s, 8));
        chart.setDataSource(&data);
        chart.addBoundField(1, names[s]);
    }
    chart.setSeriesLabels(1, true);
    chart.setHeaderText("A month of one-minute records");
}

double residentMegabytes()
{
    QFile statm("/proc/self/statm");
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / 1e6 : 0;
}

// The resident memory the month adds: the data source, the chart holding its three
// series, and one picture drawn. Registered first and run once, so no
// memory freed by another benchmark is reused.
void BM_MonthInMemory(benchmark::State &state)
{
    for (auto _ : state) {
        const double before = residentMegabytes();
        auto data = std::make_unique<MemoryChartData>();
        auto chart = std::make_unique<Chart2D>();
        chart->resize(1024, 768);
        bindMonth(*data, *chart, 3);
        benchmark::DoNotOptimize(chart->renderImage(QSize(1024, 768)));
        state.counters["rss_delta_MB"] = residentMegabytes() - before;
    }
}
BENCHMARK(BM_MonthInMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

// One frame after a pan (Move) or a zoom (Scale) drag step, drawn at 1024 x 768.
void BM_DragFrame(benchmark::State &state)
{
    const auto action = ChartAction(state.range(0));
    MemoryChartData data;
    Chart2D chart;
    chart.resize(1024, 768);
    bindMonth(data, chart, 3);
    const QSize size(1024, 768);
    benchmark::DoNotOptimize(chart.renderImage(size)); // the first build is not a frame
    const QPoint start = chart.plotArea().center();
    chart.performAction(int(ChartAction::StartDrag), start);
    int step = 0;
    for (auto _ : state) {
        // Back and forth over 40 pixels, so the view stays on the data.
        const int dx = (step++ % 40) - 20;
        chart.performAction(int(action), start + QPoint(dx, dx / 2));
        benchmark::DoNotOptimize(chart.renderImage(size));
    }
    chart.performAction(int(ChartAction::EndDrag), start);
    state.counters["points"] = 3.0 * MonthPoints;
}
BENCHMARK(BM_DragFrame)
    ->Arg(int(ChartAction::Move))
    ->Arg(int(ChartAction::Scale))
    ->ArgName("action")
    ->Unit(benchmark::kMillisecond);

// The same two series as a 1024 x 768 JPEG: our chart, then gnuplot as a process on the
// same data. The time reported is ours; gnuplot's and the ratio are counters.
void BM_JpegAgainstGnuplot(benchmark::State &state)
{
    QTemporaryDir dir;
    MemoryChartData data;
    Chart2D chart;
    chart.resize(1024, 768);
    bindMonth(data, chart, 2);

    const QString table = dir.filePath(QStringLiteral("month.dat"));
    {
        QFile file(table);
        file.open(QIODevice::WriteOnly);
        QTextStream out(&file);
        const std::vector<double> a = data.values("Temperature");
        const std::vector<double> b = data.values("Dewpoint");
        for (int i = 0; i < MonthPoints; ++i)
            out << i << ' ' << a[size_t(i)] << ' ' << b[size_t(i)] << '\n';
    }
    const QString script = dir.filePath(QStringLiteral("month.gp"));
    {
        QFile file(script);
        file.open(QIODevice::WriteOnly);
        QTextStream out(&file);
        out << "set terminal jpeg size 1024,768\n"
            << "set output '" << dir.filePath(QStringLiteral("gnuplot.jpg")) << "'\n"
            << "set title 'A month of one-minute records'\n"
            << "plot '" << table << "' using 1:2 with lines title 'Temperature', '' using "
            << "1:3 with lines title 'Dewpoint'\n";
    }
    const QString ours = dir.filePath(QStringLiteral("chart.jpg"));
    raceAgainstGnuplot(state, "chart", script, [&](QString *error) {
        *error = QStringLiteral("the chart's JPEG was not saved");
        return chart.saveJpeg(ours, 100, false, false, false);
    }, 60000);
}
BENCHMARK(BM_JpegAgainstGnuplot)->UseManualTime()->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv);
}
