// Cost of a logging pass against plain SQLite, and of reading a month of one-minute records for a
// chart.
#include "acquisition/readingsrecord.h"
#include "bench/logging/monthfile.h"
#include "core/statusboard.h"
#include "fakes/manualclock.h"
#include "logging/logschema.h"
#include "logging/logwriter.h"
#include "logging/monthdatabase.h"
#include "logging/sqlitefile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

struct Fixture
{
    Fixture() : path(MonthDatabase(dir.path(), kStart.date()))
    {
        fillReadings(record);
        ensureMonthDatabase(dir.path(), kStart.date());
    }
    QTemporaryDir dir{QStringLiteral("bench-logging-XXXXXX")}; // on the disk, not in memory
    ManualClock clock{kStart};
    ReadingsRecord record;
    StatusBoard status;
    QString path;
};

void BM_LoggingPass(benchmark::State &state)
{
    Fixture f;
    LogWriter writer(f.clock, f.record, f.status, f.dir.path());
    const QDate month = kStart.date();
    for (auto _ : state) {
        // The pass's two halves without the 3 s between them.
        if (!writer.completePass(month, writer.startPass(month)).ok())
            state.SkipWithError("a record was not written");
    }
}

// The same open, insert, commit and close of both records through SQLite's C interface.
bool insertDirect(const QByteArray &uri, const char *table, const LogColumn *columns,
                  const QVariant *values, int count)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(uri.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    sqlite3_busy_timeout(db, 2000);
    QByteArray names;
    QByteArray marks;
    for (int i = 0; i < count; ++i) {
        names += (i ? ", \"" : "\"") + QByteArray(columns[i].column) + '"';
        marks += i ? ", ?" : "?";
    }
    const QByteArray sql =
        "INSERT INTO \"" + QByteArray(table) + "\" (" + names + ") VALUES (" + marks + ")";
    bool ok = sqlite3_exec(db, "PRAGMA synchronous = FULL; BEGIN IMMEDIATE", nullptr, nullptr,
                           nullptr) == SQLITE_OK;
    sqlite3_stmt *stmt = nullptr;
    ok = ok && sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr) == SQLITE_OK;
    for (int i = 0; ok && i < count; ++i) {
        const QByteArray text = values[i].toString().toUtf8();
        if (values[i].isValid())
            sqlite3_bind_text(stmt, i + 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        else
            sqlite3_bind_null(stmt, i + 1);
    }
    ok = ok && sqlite3_step(stmt) == SQLITE_DONE;
    sqlite3_finalize(stmt);
    ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

void BM_SqliteBaseline(benchmark::State &state)
{
    Fixture f;
    const QByteArray uri = "file:" + QFile::encodeName(f.path) + "?mode=rw";
    for (auto _ : state) {
        auto values = FillLogFields(f.record, f.clock.now());
        bool ok = insertDirect(uri, "Outdoor Data", outdoorColumns().data(), values.data(),
                               kOutdoorColumnCount);
        values = FillLogFields(f.record, f.clock.now());
        ok = insertDirect(uri, "Indoor Data", indoorColumns().data(),
                          values.data() + kOutdoorColumnCount, kIndoorColumnCount) &&
             ok;
        if (!ok)
            state.SkipWithError("a record was not written");
    }
}

void BM_ReadMonthForChart(benchmark::State &state)
{
    static LoggedMonth month;
    qint64 rows = 0;
    for (auto _ : state) {
        SqliteFile db;
        db.open(month.path, SqliteFile::Mode::ReadOnly);
        QSqlQuery q(db.database());
        q.setForwardOnly(true);
        q.exec(QStringLiteral(
            "SELECT \"Date_Time\", \"Temperature\", \"Humidity\", \"Dewpoint\", "
            "\"Gust Wind Speed\", \"SeaLevel Barometric Pressure\" FROM \"Outdoor Data\""));
        double sum = 0;
        rows = 0;
        while (q.next()) {
            benchmark::DoNotOptimize(q.value(0).toString());
            for (int c = 1; c <= 5; ++c)
                sum += q.value(c).toDouble();
            ++rows;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["rows"] = double(rows);
    state.counters["file_MB"] = double(QFileInfo(month.path).size()) / (1024.0 * 1024.0);
    if (rows != LoggedMonth::kRecords)
        state.SkipWithError("the month file does not hold every record");
}

} // namespace

BENCHMARK(BM_LoggingPass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SqliteBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadMonthForChart)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv); // Qt SQL needs an application object for its drivers
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
