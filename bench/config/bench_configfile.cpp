// The cost of reading and rewriting the configuration file, as the setup dialog does.
#include "config/configfile.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

Configuration sample()
{
    Configuration c;
    c.StationPort = 2;
    c.RemoteHost = "ftp.example.net";
    c.RemotePort = "21";
    c.UserName = "weather";
    c.Password = "secret";
    c.UploadPath = "/public_html";
    c.TemplateFile1 = "/home/wx/template1.htm";
    c.OutputFile1 = "/home/wx/wx.htm";
    c.UploadInterval = 10;
    c.NwsRemoteHost = "weather.example.gov";
    c.NwsDownloadPath = "/forecast/zone.html";
    c.NwsStartKey = "<pre>";
    c.NwsEndKey = "</pre>";
    c.LoggingInterval = 15;
    for (PagerRow &p : c.Pagers) {
        p = {QStringLiteral("5551234"), QStringLiteral("18005550000"), 1, 3, 1,
             QStringLiteral("95")};
    }
    c.PagerPort = 2;
    c.Graph = {1,
               0,
               QStringLiteral("Station"),
               QStringLiteral("/graphs"),
               QDateTime(QDate(2026, 1, 15), QTime(6, 30)),
               1};
    return c;
}

// Saving syncs the new file to disk before renaming it over the old one, so the wall
// time is mostly the disk's; the CPU column is the program's own share.
void BM_ConfigSaveAndLoad(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Corvane.cfg");
    const Configuration c = sample();
    for (auto _ : state) {
        if (!saveConfiguration(path, c).ok())
            state.SkipWithError("save failed");
        benchmark::DoNotOptimize(loadConfiguration(path));
    }
}
BENCHMARK(BM_ConfigSaveAndLoad)->Unit(benchmark::kMicrosecond);

// Start-up and the setup dialog only read; no disk sync is involved.
void BM_ConfigLoad(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Corvane.cfg");
    if (!saveConfiguration(path, sample()).ok())
        state.SkipWithError("save failed");
    for (auto _ : state)
        benchmark::DoNotOptimize(loadConfiguration(path));
}
BENCHMARK(BM_ConfigLoad)->Unit(benchmark::kMicrosecond);

void BM_ConfigFormatAndParse(benchmark::State &state)
{
    const Configuration c = sample();
    for (auto _ : state) {
        const ConfigFormatResult f = formatConfiguration(c);
        Configuration back;
        applyConfigValues(parseConfigValues(f.bytes), back);
        benchmark::DoNotOptimize(back);
    }
}
BENCHMARK(BM_ConfigFormatAndParse)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
