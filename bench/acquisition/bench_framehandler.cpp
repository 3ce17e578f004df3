// Frames per second through the frame handler and the decoders into the readings record.
#include "acquisition/framehandler.h"
#include "acquisition/readingsrecord.h"
#include "acquisition/readingstexts.h"
#include "fakes/manualclock.h"
#include "simulator/simulatedconsole.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int FramesPerStream = 1000;

// A thousand frames of simulated weather, all five groups in turn.
const QByteArray &simulatedStream()
{
    static const QByteArray stream = [] {
        ManualClock clock(QDateTime(QDate(2026, 5, 1), QTime(8, 0)));
        SimulatedConsole console(clock, 42);
        QByteArray bytes;
        for (int i = 0; i < FramesPerStream; ++i) {
            clock.advanceMs(SimulatedConsole::FrameIntervalMs);
            bytes += console.nextFrame();
        }
        return bytes;
    }();
    return stream;
}

class RecordWriter final : public FrameHandler::Listener
{
public:
    RecordWriter(ReadingsRecord &record, int units) : m_record(record), m_units(units) {}
    void frameChecked(const QByteArray &frame) override
    {
        applyFrame(frame, m_record, m_units, QDate(2026, 5, 1));
    }

private:
    ReadingsRecord &m_record;
    int m_units;
};

class Counter final : public FrameHandler::Listener
{
public:
    void frameChecked(const QByteArray &) override { ++frames; }
    qint64 frames = 0;
};

// The stream in pieces of `piece` bytes, as a serial port hands them over.
void feedInPieces(FrameStream &stream, const QByteArray &bytes, int piece)
{
    // As a reader that reuses its buffer: the stream copies what it keeps.
    for (qsizetype pos = 0; pos < bytes.size(); pos += piece)
        stream.feed(QByteArray::fromRawData(bytes.constData() + pos,
                                            qMin<qsizetype>(piece, bytes.size() - pos)),
                    0);
    stream.finish();
}

void BM_HandleAndDecode(benchmark::State &state)
{
    const QByteArray &bytes = simulatedStream();
    ReadingsRecord record;
    RecordWriter writer(record, int(state.range(1)));
    for (auto _ : state) {
        FrameStream stream(writer);
        feedInPieces(stream, bytes, int(state.range(0)));
    }
    state.SetItemsProcessed(state.iterations() * FramesPerStream);
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_HandleAndDecode)
    ->ArgNames({"piece", "metric"})
    ->Args({1, 0})
    ->Args({64, 0})
    ->Args({4096, 0})
    ->Args({64, 1});

void BM_HandleOnly(benchmark::State &state)
{
    const QByteArray &bytes = simulatedStream();
    Counter counter;
    for (auto _ : state) {
        FrameStream stream(counter);
        feedInPieces(stream, bytes, 64);
    }
    state.SetItemsProcessed(state.iterations() * FramesPerStream);
}
BENCHMARK(BM_HandleOnly);

void BM_DecodeOnly(benchmark::State &state)
{
    ManualClock clock(QDateTime(QDate(2026, 5, 1), QTime(8, 0)));
    SimulatedConsole console(clock, 42);
    QList<QByteArray> frames;
    for (int i = 0; i < 5; ++i)
        frames << console.nextFrame();
    ReadingsRecord record;
    qint64 n = 0;
    for (auto _ : state)
        applyFrame(frames.at(int(n++ % 5)), record, 0, QDate(2026, 5, 1));
    state.SetItemsProcessed(n);
}
BENCHMARK(BM_DecodeOnly);

} // namespace

BENCHMARK_MAIN();
