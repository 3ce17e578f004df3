// corvane (desktop): the engine with the main window, its detail windows and menu commands.
#include "app/commands.h"
#include "app/runtime.h"
#include "app/services.h"
#include "app/setupcontroller.h"
#include "app/stopsignals.h"

#include "acquisition/readingsrecord.h"
#include "core/clock.h"
#include "core/programdir.h"
#include "core/statusboard.h"
#include "dialup/dialupcontrol.h"
#include "fax/efaxdevice.h"
#include "fax/graphfax.h"
#include "paging/pagingjob.h"
#include "publishing/forecast.h"
#include "publishing/publisher.h"
#include "scheduler/scheduler.h"
#include "ui/chartdialogs.h"
#include "ui/chartmain.h"
#include "ui/detailwindow.h"
#include "ui/wx.h"

#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QTimer>

#include <cstdio>

namespace {

// CORVANE_SCREENSHOTS=FOLDER: after CORVANE_SCREENSHOT_DELAY seconds (12 unless given, so
// that every sensor group has arrived) the main window and two detail windows are saved
// as pictures in FOLDER and the program ends. Used by scripts/screenshots.sh.
void scheduleScreenshots(Wx &wx)
{
    const QString folder = qEnvironmentVariable("CORVANE_SCREENSHOTS");
    if (folder.isEmpty())
        return;
    bool ok = false;
    double delay = qEnvironmentVariable("CORVANE_SCREENSHOT_DELAY").toDouble(&ok);
    if (!ok || delay < 0)
        delay = 12;
    QTimer::singleShot(int(delay * 1000), &wx, [&wx] {
        for (const char *name : {"Temperature", "Wind"}) {
            if (DetailWindow *w = wx.detailWindow(name)) {
                w->move(wx.frameGeometry().topRight() + QPoint(20, 0));
                w->showAndRaise();
            }
        }
        // One more turn of the event loop lets the windows lay out and paint.
        QTimer::singleShot(500, &wx, [&wx] {
            const QString folder = qEnvironmentVariable("CORVANE_SCREENSHOTS");
            QDir().mkpath(folder);
            const QDir dir(folder);
            wx.grab().save(dir.filePath(QStringLiteral("main-window.png")));
            wx.detailWindow(QStringLiteral("Temperature"))
                ->grab()
                .save(dir.filePath(QStringLiteral("temperature-window.png")));
            wx.detailWindow(QStringLiteral("Wind"))
                ->grab()
                .save(dir.filePath(QStringLiteral("wind-window.png")));
            emit wx.endProgram();
        });
    });
}

} // namespace

int runDesktop(int &argc, char **argv, const RunOptions &options)
{
    if (!StopSignals::install()) {
        std::perror("corvane: cannot watch SIGINT and SIGTERM");
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("corvane"));
    QApplication::setQuitOnLastWindowClosed(false); // the main window's unload ends it

    SystemClock clock;
    Runtime runtime(clock, options, realDevices());
    Services services(runtime, options);
    Publisher &publisher = services.publisher();
    DialupControl &dialup = services.dialup();

    Wx wx(runtime.record(), runtime.status(),
          [&runtime]() -> const Configuration & { return runtime.configuration(); });
    wx.followStationLink(runtime.stationLink());
    wx.followTransferLog(services.transferLog());
    QObject::connect(&runtime, &Runtime::configurationChanged, &wx,
                     [&wx] { wx.ApplyUnitCaptions(); });
    QObject::connect(&publisher.forecast(), &ForecastRetriever::forecastChanged, &wx,
                     &Wx::setForecastText);
    wx.wireAction(QStringLiteral("m_UpPage"), [&publisher] { publisher.PublishWebPages(); });
    wx.wireAction(QStringLiteral("m_generateforecast"),
                  [&publisher] { publisher.RequestForecast(); });
    wx.wireAction(QStringLiteral("m_vforecast"), [&wx] { wx.ToggleForecast(); });
    wx.wireAction(QStringLiteral("m_dialconnection"), [&dialup] { dialup.dial(); });
    wx.wireAction(QStringLiteral("m_hangupconnection"), [&dialup] { dialup.HangUpDialup(); });

    // The fax modem may be the pager's: detection leaves alone the station's line and a
    // modem the pager is calling on, and no graph is faxed on that modem meanwhile.
    ModemPager &pager = services.paging().pager();
    const std::unique_ptr<EfaxDevice> fax =
        createEfaxDevice(clock, programDirectory(), [&runtime, &services, &pager] {
            QStringList busy{runtime.stationDevicePath()};
            if (pager.isBusy())
                busy << services.pagerDevicePath();
            return busy;
        });
    GraphFaxSender graphFax(*fax, runtime.status(), programDirectory());
    graphFax.setModemBusyCheck([&fax, &services, &pager] {
        return pagerHoldsModem(fax->sendDevice(), services.pagerDevicePath(), pager.isBusy());
    });

    SetupController setup(runtime, wx);
    setup.setFax(fax.get(), programDirectory());
    wx.wireAction(QStringLiteral("m_configuration"), [&setup] { setup.show(); });

    WindowChartDialogs chartDialogs;
    QPointer<ChartMain> chartWindow;
    wx.wireAction(QStringLiteral("m_graphing"),
                  [&] { showChartWindow(chartWindow, clock, chartDialogs, &graphFax); });

    // A logging pass finishes its record pair first, so that no pair is left half written;
    // every other job is abandoned. Then the port is closed and the event loop left.
    bool ending = false;
    QObject::connect(&wx, &Wx::endProgram, &app, [&] {
        if (ending)
            return;
        ending = true;
        const auto end = [&] {
            runtime.shutDown();
            QCoreApplication::exit(0);
        };
        Scheduler &scheduler = runtime.scheduler();
        scheduler.windDown();
        if (scheduler.isBusy())
            QObject::connect(&scheduler, &Scheduler::idle, &app, end, Qt::QueuedConnection);
        else
            end();
    });

    // SIGINT and SIGTERM end the program as the main window's unload does; one that comes
    // during start-up is acted on once the event loop runs.
    StopSignals stopSignals;
    QObject::connect(&stopSignals, &StopSignals::stopRequested, &wx,
                     [&wx] { emit wx.endProgram(); });

    runtime.startUp();
    wx.show();
    setup.offerOnFirstStart();
    if (!qEnvironmentVariableIsEmpty("CORVANE_SCREENSHOTS"))
        QTimer::singleShot(1000, &setup, [&setup] {
            setup.saveTabPictures(qEnvironmentVariable("CORVANE_SCREENSHOTS"));
        });
    scheduleScreenshots(wx);
    const int result = app.exec();
    delete chartWindow;
    wx.unloadWindows();
    return result;
}
