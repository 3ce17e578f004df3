// The archive on a PostgreSQL server of the benchmark's own: replaying a queued month, and
// reading one station's month back for a chart from a table holding many stations' years.
//
// CORVANE_BENCH_STATIONS (default 100) and CORVANE_BENCH_YEARS (default 1) size the table of
// the chart read; its rows are made with COPY in the set-up, minute by minute with every
// station's row of that minute together, as a live archive grows, into each station's parts.
#include "archive/archiveconnection.h"
#include "archive/archivequeue.h"
#include "archive/archivereader.h"
#include "archive/archiveschema.h"
#include "archive/archiveworker.h"
#include "archive/localpostgres.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kMonthPairs = 31 * 24 * 60; // 44,640

int envInt(const char *name, int fallback)
{
    bool ok = false;
    const int v = qEnvironmentVariableIntValue(name, &ok);
    return ok && v > 0 ? v : fallback;
}

// Made on first use, ended by main() so that its folder goes too.
std::unique_ptr<LocalPostgres> g_server;

// Stops the server before leaving, so that none is left running.
[[noreturn]] void giveUp(const QString &why)
{
    std::fprintf(stderr, "bench_archive: %s\n", qPrintable(why));
    g_server.reset();
    std::exit(1);
}

LocalPostgres &server()
{
    if (!g_server) {
        auto p = std::make_unique<LocalPostgres>();
        // A database server's usual memory; wal_level minimal lets a table made in the load's
        // own transaction skip the WAL. fsync stays on.
        const QString why = p->start(
            QStringLiteral("replay"),
            {QStringLiteral("-c shared_buffers=2GB"), QStringLiteral("-c wal_level=minimal"),
             QStringLiteral("-c max_wal_senders=0"), QStringLiteral("-c max_wal_size=8GB"),
             QStringLiteral("-c maintenance_work_mem=1GB")});
        if (!why.isEmpty())
            giveUp(QStringLiteral("PostgreSQL: ") + why);
        g_server = std::move(p);
    }
    return *g_server;
}

ArchiveSettings settingsFor(const QString &database)
{
    ArchiveSettings s;
    s.enabled = true;
    s.host = QStringLiteral("127.0.0.1");
    s.port = server().port();
    s.database = database;
    s.user = QStringLiteral("postgres");
    s.station = QStringLiteral("Hilltop");
    s.sslmode = QStringLiteral("disable");
    return s;
}

// A pair as a pass writes it: every column filled, numbers as their texts.
ArchivePair pairAt(const QDateTime &at, int minute)
{
    ArchivePair pair;
    pair.station = QStringLiteral("Hilltop");
    pair.outdoorAt = at;
    pair.indoorAt = at.addSecs(3);
    for (int i = 0; i < kLogFieldCount; ++i) {
        const LogForm form = logColumn(i).form;
        if (form == LogForm::Number)
            pair.values[size_t(i)] = QString::number(50 + 20 * std::sin(minute / 700.0 + i), 'f', 1);
        else if (form == LogForm::Int16)
            pair.values[size_t(i)] = QString::number((minute * 7 + i) % 360);
        else if (form == LogForm::Text)
            pair.values[size_t(i)] = QStringLiteral("3-9-2026");
        else
            pair.values[size_t(i)] = QStringLiteral("3/9/2026 2:00:00 PM");
    }
    return pair;
}

void BM_ReplayQueuedMonth(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("archive-queue.jsonl"));
    for (auto _ : state) {
        state.PauseTiming();
        {
            // The lines a month of failed passes leaves, written at once rather than synced
            // one by one as the passes do.
            QFile queue(path);
            queue.open(QIODevice::WriteOnly);
            const QDateTime start(QDate(2026, 3, 1), QTime(0, 0), Qt::UTC);
            for (int m = 0; m < kMonthPairs; ++m)
                queue.write(encodeArchivePair(pairAt(start.addSecs(60 * m), m)) + '\n');
        }
        const qint64 bytes = QFileInfo(path).size();
        const double serverCpuBefore = server().endedConnectionsCpuSeconds();
        state.ResumeTiming();
        QString failure;
        {
            std::atomic<bool> stopping{false};
            ArchiveWorker worker(path, stopping);
            QObject::connect(&worker, &ArchiveWorker::failed,
                             [&failure](const QString &why, qint64) { failure = why; });
            worker.configure(settingsFor(QStringLiteral("replay")));
            worker.drain();
        }
        state.PauseTiming();
        // The connection has ended, so its server process's CPU time is its parent's now.
        QThread::msleep(500);
        state.counters["server_cpu_s"] = server().endedConnectionsCpuSeconds() - serverCpuBefore;
        if (!failure.isEmpty())
            state.SkipWithError(qPrintable(failure));
        state.counters["queue_MB"] = double(bytes) / 1e6;
        QSqlDatabase db = openArchiveDatabase(settingsFor(QStringLiteral("replay")),
                                              QStringLiteral("replay-check"));
        QSqlQuery q(db);
        q.exec(QStringLiteral("SELECT count(*) FROM \"Indoor Data\""));
        state.counters["rows"] = q.next() ? q.value(0).toDouble() : -1;
        q.exec(QStringLiteral("DROP TABLE \"Outdoor Data\", \"Indoor Data\""));
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ReplayQueuedMonth)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Loads the chart table once: `stations` stations, `years` years of one-minute rows in both
// tables, through psql's COPY from standard input.
struct ChartTable
{
    int stations = 0;
    int years = 0;
    double loadSeconds = 0;
    double tableGB = 0;
    qint64 rows = 0;
};

ChartTable &chartTable()
{
    static ChartTable *table = [] {
        auto *t = new ChartTable;
        t->stations = envInt("CORVANE_BENCH_STATIONS", 100);
        t->years = envInt("CORVANE_BENCH_YEARS", 1);
        QProcess create;
        create.start(LocalPostgres::binDir() + QStringLiteral("/createdb"),
                     {QStringLiteral("-h"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                      QString::number(server().port()), QStringLiteral("-U"),
                      QStringLiteral("postgres"), QStringLiteral("chart")});
        create.waitForFinished(60000);
        const QString psql = QStringLiteral("%1/psql -q -v ON_ERROR_STOP=1 -h 127.0.0.1 -p %2 -U "
                                            "postgres -d chart -f -")
                                 .arg(LocalPostgres::binDir())
                                 .arg(server().port());
        QElapsedTimer timer;
        timer.start();
        FILE *out = ::popen(qPrintable(psql), "w");
        if (!out)
            giveUp(QStringLiteral("psql cannot be started"));
        std::fputs("BEGIN;\n", out);
        for (const QString &statement : archiveSchema())
            std::fprintf(out, "%s;\n", qPrintable(statement));
        {
            const QSqlDatabase quoting = openArchiveDatabase(settingsFor(QStringLiteral("chart")),
                                                             QStringLiteral("chart-schema"));
            for (int s = 0; s < t->stations; ++s)
                for (const QString &statement : archiveStationTables(
                         *quoting.driver(), QStringLiteral("S%1").arg(s, 3, 10, QLatin1Char('0'))))
                    std::fprintf(out, "%s;\n", qPrintable(statement));
        }
        // The keys are built after the rows, in one pass, as a bulk load does.
        std::fputs("ALTER TABLE \"Outdoor Data\" DROP CONSTRAINT \"Outdoor Data_pkey\";\n"
                   "ALTER TABLE \"Indoor Data\" DROP CONSTRAINT \"Indoor Data_pkey\";\n",
                   out);
        const qint64 start = QDateTime(QDate(2025, 1, 1), QTime(0, 0), Qt::UTC).toSecsSinceEpoch();
        const qint64 minutes = qint64(t->years) * 365 * 24 * 60;
        char line[256];
        for (const char *table : {"Outdoor Data", "Indoor Data"}) {
            const bool outdoor = table[0] == 'O';
            std::fprintf(out,
                         outdoor ? "COPY \"%s\" (station, \"Date_Time\", \"Temperature\", "
                                   "\"Humidity\", \"Dewpoint\", \"SeaLevel Barometric Pressure\", "
                                   "\"Average Wind Speed\", \"Average Wind Direction\") FROM STDIN;\n"
                                 : "COPY \"%s\" (station, \"Date_Time\", \"Temperature\", "
                                   "\"Humidity\", \"Dewpoint\") FROM STDIN;\n",
                         table);
            for (qint64 m = 0; m < minutes; ++m) {
                const QDateTime at = QDateTime::fromSecsSinceEpoch(start + m * 60 + (outdoor ? 0 : 3), Qt::UTC);
                const QByteArray when = at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss+00")).toLatin1();
                for (int s = 0; s < t->stations; ++s) {
                    const double temp = 50 + 20 * std::sin(m / 700.0 + s);
                    const int n = outdoor
                                      ? std::snprintf(line, sizeof line,
                                                      "S%03d\t%s\t%.1f\t%d\t%.1f\t%.2f\t%.1f\t%d\n",
                                                      s, when.constData(), temp, int(m + s) % 100,
                                                      temp - 8, 29.5 + (m % 100) / 100.0,
                                                      (m + s) % 30 / 2.0, int(m * 7 + s) % 360)
                                      : std::snprintf(line, sizeof line, "S%03d\t%s\t%.1f\t%d\t%.1f\n",
                                                      s, when.constData(), temp + 20,
                                                      int(m + s) % 60, temp + 5);
                    std::fwrite(line, 1, size_t(n), out);
                }
            }
            std::fputs("\\.\n", out);
        }
        std::fputs("ALTER TABLE \"Outdoor Data\" ADD PRIMARY KEY (station, \"Date_Time\");\n"
                   "ALTER TABLE \"Indoor Data\" ADD PRIMARY KEY (station, \"Date_Time\");\n"
                   "COMMIT;\nVACUUM ANALYZE;\n",
                   out);
        if (::pclose(out) != 0)
            giveUp(QStringLiteral("loading the chart table failed: ") + server().log().right(2000));
        t->loadSeconds = timer.elapsed() / 1000.0;
        t->rows = minutes * t->stations;
        QSqlDatabase db = openArchiveDatabase(settingsFor(QStringLiteral("chart")),
                                              QStringLiteral("chart-size"));
        QSqlQuery q(db);
        q.exec(QStringLiteral("SELECT pg_database_size('chart')"));
        t->tableGB = q.next() ? q.value(0).toDouble() / 1e9 : -1;
        std::fprintf(stderr, "chart tables: %d stations x %d years, %lld rows each, %.2f GB, loaded in %.0f s\n",
                     t->stations, t->years, t->rows, t->tableGB, t->loadSeconds);
        return t;
    }();
    return *table;
}

void BM_ReadStationMonthForChart(benchmark::State &state)
{
    ChartTable &table = chartTable();
    QSqlDatabase db = openArchiveDatabase(settingsFor(QStringLiteral("chart")),
                                          QStringLiteral("chart-read"));
    const QStringList columns{QStringLiteral("Temperature"), QStringLiteral("Humidity"),
                              QStringLiteral("Dewpoint"),
                              QStringLiteral("SeaLevel Barometric Pressure"),
                              QStringLiteral("Average Wind Speed")};
    QSqlQuery backend(db);
    const qint64 pid = backend.exec(QStringLiteral("SELECT pg_backend_pid()")) && backend.next()
                           ? backend.value(0).toLongLong()
                           : 0;
    const double serverCpuBefore = LocalPostgres::processCpuSeconds(pid);
    // A different station and month each time, so that no read finds the last one's pages.
    int n = 0;
    size_t points = 0;
    for (auto _ : state) {
        const QString station = QStringLiteral("S%1").arg((n * 37) % table.stations, 3, 10, QLatin1Char('0'));
        const QDate month(2025, 1 + (n * 5) % 12, 1);
        ++n;
        const ArchiveMonth read = readArchiveMonth(db, QStringLiteral("Outdoor Data"), station,
                                                   month, columns);
        if (!read.error.isEmpty()) {
            state.SkipWithError(qPrintable(read.error));
            break;
        }
        points = read.times.size();
        benchmark::DoNotOptimize(read.series.data());
    }
    state.counters["server_cpu_ms"] =
        (LocalPostgres::processCpuSeconds(pid) - serverCpuBefore) * 1000.0 / std::max(n, 1);
    state.counters["rows_read"] = double(points);
    state.counters["table_rows"] = double(table.rows);
    state.counters["db_GB"] = table.tableGB;
    state.counters["load_s"] = table.loadSeconds;
}
BENCHMARK(BM_ReadStationMonthForChart)->Iterations(12)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_server.reset();
    return 0;
}
