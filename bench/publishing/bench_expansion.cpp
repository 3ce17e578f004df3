// Template expansion: the linear expander on a 1 MB page, and against the plain scan loop.
#include "acquisition/readingsrecord.h"
#include "publishing/pagetokens.h"
#include "publishing/scanloop.h"
#include "publishing/templateexpander.h"

#include <QRandomGenerator>
#include <benchmark/benchmark.h>

namespace {

TokenValues pageValues()
{
    ReadingsRecord record;
    for (const QString &field : ReadingsRecord::fieldNames())
        record.setText(field, QStringLiteral("72.5"));
    const QDateTime now(QDate(2026, 1, 15), QTime(12, 0));
    return PageTokenValues(record, QStringLiteral("Cloudy, then sun."), QStringLiteral("West"),
                           QStringLiteral("NorthWest"), now, now.toUTC());
}

// A page of table cells, `tokens` of them each holding one token, padded to `chars` in all.
QString pageTemplate(qsizetype chars, int tokens)
{
    QRandomGenerator rng(2026);
    const QStringList &names = pageTokenNames();
    const qsizetype perCell = chars / tokens;
    QString text;
    text.reserve(chars + 64);
    for (int i = 0; i < tokens; ++i) {
        QString cell = QStringLiteral("<td>") + names.at(rng.bounded(int(names.size()))) +
                       QStringLiteral("</td>\r\n");
        if (cell.size() < perCell)
            cell.prepend(QString(perCell - cell.size(), QLatin1Char(' ')));
        text += cell;
    }
    return text;
}

void BM_ExpandTemplate1MB(benchmark::State &state)
{
    const QString text = pageTemplate(1 << 20, 20000);
    const TokenValues values = pageValues();
    for (auto _ : state)
        benchmark::DoNotOptimize(ExpandTemplateText(text, values));
    state.SetBytesProcessed(state.iterations() * text.size());
    state.counters["chars"] = double(text.size());
}
BENCHMARK(BM_ExpandTemplate1MB)->Unit(benchmark::kMillisecond);

// Both on the same smaller pages: the scan loop is quadratic, and on the 1 MB page it
// would run for many minutes.
void BM_ExpandTemplate(benchmark::State &state)
{
    const QString text = pageTemplate(state.range(0), int(state.range(1)));
    const TokenValues values = pageValues();
    for (auto _ : state)
        benchmark::DoNotOptimize(ExpandTemplateText(text, values));
}

void BM_ScanLoop(benchmark::State &state)
{
    const QString text = pageTemplate(state.range(0), int(state.range(1)));
    const TokenValues values = pageValues();
    for (auto _ : state)
        benchmark::DoNotOptimize(scanLoopExpand(text, values));
}

void sizes(benchmark::internal::Benchmark *b)
{
    for (int shift : {6, 5, 4}) // 16 KB, 32 KB, 64 KB pages, tokens in proportion
        b->Args({(1 << 20) >> shift, 20000 >> shift});
    b->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_ExpandTemplate)->Apply(sizes);
BENCHMARK(BM_ScanLoop)->Apply(sizes);

} // namespace

BENCHMARK_MAIN();
