// Runs logging passes one after another on the real clock until it is killed, printing a line
// for each pass that ends; tst_killedpasses kills it at random points.
#include "acquisition/readingsrecord.h"
#include "core/clock.h"
#include "core/statusboard.h"
#include "logging/loggingpass.h"
#include "logging/logwriter.h"

#include <QCoreApplication>
#include <QFile>

#include <unistd.h>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        qCritical("usage: logpassloop DIRECTORY PAIR_DELAY_MS");
        return 2;
    }
    SystemClock clock;
    ReadingsRecord record;
    record.setText(QStringLiteral("OutdoorTemperature"), QStringLiteral("55.5"));
    record.setText(QStringLiteral("IndoorTemperature"), QStringLiteral("70.5"));
    StatusBoard status;
    LogWriter writer(clock, record, status, args[1]);
    LoggingPass pass(writer, clock);
    pass.setPairDelayMs(args[2].toInt());

    QFile out;
    if (!out.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered))
        return 2;
    // The next pass starts from the event loop, not inside the finished() of the last one.
    QObject::connect(
        &pass, &Job::finished, &pass,
        [&] {
            out.write(pass.result().ok() ? "ok\n" : "failed\n");
            pass.start();
        },
        Qt::QueuedConnection);
    pass.start();
    return app.exec();
}
