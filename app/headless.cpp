// corvane --headless: the unattended engine without windows; status and titles go to standard
// error.
#include "app/commands.h"
#include "app/groupsummary.h"
#include "app/runtime.h"
#include "app/services.h"
#include "app/stopsignals.h"

#include "acquisition/readingsrecord.h"
#include "core/clock.h"
#include "core/programdir.h"
#include "core/statusboard.h"
#include "core/transferlog.h"
#include "paging/pagingjob.h"
#include "scheduler/scheduler.h"
#include "simulator/simulatedpagingservice.h"

#include <QApplication>
#include <QHash>

#include <csignal>
#include <cstdio>

namespace {

void printLine(Clock &clock, const QString &text)
{
    const QByteArray line =
        (clock.now().toString(Qt::ISODate) + QLatin1Char(' ') + text + QLatin1Char('\n'))
            .toLocal8Bit();
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}

} // namespace

int runHeadless(int &argc, char **argv, const RunOptions &options)
{
    if (!StopSignals::install()) {
        std::perror("corvane: cannot watch SIGINT and SIGTERM");
        return 1;
    }
    // The daily graphs are drawn on offscreen charts, which are widgets: no display is used.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("corvane"));

    SystemClock clock;
    Runtime runtime(clock, options, realDevices());
    QObject::connect(&runtime.status(), &StatusBoard::statusTextChanged,
                     [&](const QString &text) { printLine(clock, text); });
    QObject::connect(&runtime.status(), &StatusBoard::titleChanged,
                     [&](const QString &text) { printLine(clock, text); });
    QObject::connect(&runtime.status(), &StatusBoard::noteChanged,
                     [&](const QString &text) { printLine(clock, text); });

    Services services(runtime, options);
    // Why a transfer failed, on the line below its state text; notes are status texts.
    QObject::connect(&services.transferLog(), &TransferLog::entryAdded,
                     [&](const TransferLogEntry &entry) {
                         if (entry.kind == TransferLogEntry::Failure)
                             printLine(clock, entry.text);
                     });
    // The checks run every 10 s: a row's problem is printed when it first appears or changes.
    QHash<int, QString> lastRowProblem;
    QObject::connect(&services.paging(), &PagingJob::rowProblem, [&](int row, const QString &why) {
        if (lastRowProblem.value(row) == why)
            return;
        lastRowProblem.insert(row, why);
        printLine(clock, QStringLiteral("pager row %1: %2").arg(row).arg(why));
    });
    if (SimulatedPagingService *service = services.simulatedPagingService())
        QObject::connect(service, &SimulatedPagingService::pageReceived,
                         [&](const QString &pager, const QString &message) {
                             printLine(clock,
                                       QStringLiteral("simulated paging service: page for %1: %2")
                                           .arg(pager, message));
                         });

    SummaryThrottle throttle;
    QObject::connect(&runtime.record(), &ReadingsRecord::groupChanged, [&](SensorGroup group) {
        if (throttle.allow(group, clock.monotonicMs()))
            printLine(clock,
                      groupSummary(group, runtime.record(), runtime.configuration().DisplayUnits));
    });

    // A stop request lets a logging pass finish its record pair; every other job is
    // abandoned at once.
    bool stopping = false;
    const auto stop = [&] {
        runtime.shutDown();
        printLine(clock, QStringLiteral("corvane: stopped"));
        QCoreApplication::exit(0);
    };
    StopSignals stopSignals;
    QObject::connect(&stopSignals, &StopSignals::stopRequested, [&](int signo) {
        if (stopping)
            return;
        stopping = true;
        printLine(clock, QStringLiteral("corvane: stopping on %1")
                             .arg(signo == SIGTERM ? QStringLiteral("SIGTERM")
                                                   : QStringLiteral("SIGINT")));
        Scheduler &scheduler = runtime.scheduler();
        scheduler.windDown();
        if (scheduler.isBusy())
            QObject::connect(&scheduler, &Scheduler::idle, &app, stop, Qt::QueuedConnection);
        else
            stop();
    });

    printLine(clock,
              QStringLiteral("corvane: headless%1, program directory %2")
                  .arg(options.simulate ? QStringLiteral(" with the simulated console") : QString(),
                       programDirectory()));
    runtime.startUp();
    printLine(clock, QStringLiteral("corvane: station port %1 %2")
                         .arg(runtime.stationDevicePath(), runtime.stationPortOpen()
                                                               ? QStringLiteral("open")
                                                               : QStringLiteral("not open")));
    return app.exec();
}
