// Writes one frame of each of the five sensor groups of the simulated console to standard
// output: the console capture the page tests decode (tests/data/publishing/station.bin).
// simcapture [SEED]
#include "fakes/manualclock.h"
#include "simulator/simulatedconsole.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ManualClock clock(QDateTime(QDate(2026, 1, 20), QTime(15, 4, 5)));
    SimulatedConsole console(clock, argc > 1 ? quint32(std::strtoul(argv[1], nullptr, 10)) : 1);
    // Some steps of weather first, so that the console's records differ from the readings.
    for (int i = 0; i < 500; ++i)
        console.nextFrame();
    for (SensorGroup g : {SensorGroup::Humidity, SensorGroup::Temperature,
                          SensorGroup::BarometerDewpoint, SensorGroup::Rain, SensorGroup::Wind}) {
        const QByteArray f = console.frame(g);
        std::fwrite(f.constData(), 1, size_t(f.size()), stdout);
    }
    return 0;
}
