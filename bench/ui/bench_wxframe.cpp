// From the last byte of a station frame arriving on the port to the main window and the
// humidity window showing the new reading, through the real serial adapter and link.
#include "bench/widgetmain.h"
#include "acquisition/bitconversions.h"
#include "acquisition/pseudoterminal.h"
#include "acquisition/readingsrecord.h"
#include "acquisition/serialport.h"
#include "acquisition/stationlink.h"
#include "config/configuration.h"
#include "core/statusboard.h"
#include "fakes/manualclock.h"
#include "ui/detailwindow.h"
#include "ui/wx.h"

#include <QApplication>
#include <QLineEdit>
#include <benchmark/benchmark.h>
#include <chrono>

namespace {

// A humidity frame with the outdoor humidity (BCD at byte 20) set to `percent`.
QByteArray humidityFrame(int percent)
{
    QByteArray f(35, '\0');
    f[0] = char(0x8F);
    f[20] = char(((percent / 10) << 4) | (percent % 10));
    f[34] = char(byteSum(f.constData(), 34));
    return f;
}

void waitUntil(const std::function<bool()> &done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void BM_LastByteToWindowTexts(benchmark::State &state)
{
    PseudoTerminal pty;
    if (!pty.open()) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    // The completion limit runs on a manual clock, so a slow machine cannot time a
    // waiting frame out.
    ManualClock clock;
    ReadingsRecord record;
    StatusBoard status;
    Configuration config;
    std::unique_ptr<SerialPort> port = createSerialPort();
    port->setDevicePath(pty.slavePath());
    if (!port->open()) {
        state.SkipWithError("station port did not open");
        return;
    }
    StationLink link(*port, clock, record, [] { return 0; });
    Wx wx(record, status, [&config]() -> const Configuration & { return config; });
    wx.followStationLink(link);
    wx.ApplyUnitCaptions();
    wx.show();
    auto *mainBox = wx.findChild<QLineEdit *>(QStringLiteral("Text16"));
    auto *detailBox = wx.detailWindow(QStringLiteral("Humidity"))
                          ->findChild<QLineEdit *>(QStringLiteral("Text2"));

    int percent = 40;
    for (auto _ : state) {
        percent = percent == 40 ? 41 : 40;
        const QByteArray frame = humidityFrame(percent);
        const QString expected = QString::number(percent);
        // All but the last byte: the link starts the frame and waits for its rest.
        pty.write(frame.left(frame.size() - 1));
        waitUntil([&] { return link.lampColor() == 255; });
        const auto start = std::chrono::steady_clock::now();
        pty.write(frame.right(1));
        waitUntil([&] { return mainBox->text() == expected && detailBox->text() == expected; });
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}
BENCHMARK(BM_LastByteToWindowTexts)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv);
}
