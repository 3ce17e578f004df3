// Our drawing timed against gnuplot drawing the same pictures as a process, in one run.
#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QString>

#include <benchmark/benchmark.h>
#include <chrono>
#include <string>

// Runs `ours` (false when it failed, with why in `error`) and then `gnuplot script` once per
// iteration. The time reported is ours; "<name>_ms", "gnuplot_ms" and
// "<name>_per_gnuplot" are counters. Skips when gnuplot is missing.
template <typename Ours>
void raceAgainstGnuplot(benchmark::State &state, const std::string &name, const QString &script,
                        Ours ours, int gnuplotLimitMs = 120000)
{
    const QString gnuplot = QStandardPaths::findExecutable(QStringLiteral("gnuplot"));
    if (gnuplot.isEmpty()) {
        state.SkipWithError("gnuplot is not installed (scripts/bench.sh installs gnuplot-nox)");
        return;
    }
    using Clock = std::chrono::steady_clock;
    double oursSeconds = 0, gnuplotSeconds = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        QString error;
        if (!ours(&error)) {
            state.SkipWithError(qPrintable(error));
            return;
        }
        const auto t1 = Clock::now();
        QProcess process;
        process.start(gnuplot, {script});
        if (!process.waitForFinished(gnuplotLimitMs) || process.exitCode() != 0) {
            state.SkipWithError("gnuplot failed");
            return;
        }
        const auto t2 = Clock::now();
        const double ourTime = std::chrono::duration<double>(t1 - t0).count();
        oursSeconds += ourTime;
        gnuplotSeconds += std::chrono::duration<double>(t2 - t1).count();
        state.SetIterationTime(ourTime);
    }
    state.counters[name + "_ms"] = 1000 * oursSeconds / double(state.iterations());
    state.counters["gnuplot_ms"] = 1000 * gnuplotSeconds / double(state.iterations());
    state.counters[name + "_per_gnuplot"] = oursSeconds / gnuplotSeconds;
}
