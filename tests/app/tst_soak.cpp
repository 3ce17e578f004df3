// A day of the whole engine on the manual clock: console, logging, publishing, forecast and
// pages, with a ten-minute loss of the station port, ending with no leaked heap or descriptors.
#include "acquisition/pseudoterminal.h"
#include "acquisition/stationlink.h"
#include "app/runtime.h"
#include "app/services.h"
#include "config/configfile.h"
#include "core/datetimeformat.h"
#include "core/statusboard.h"
#include "core/transferlog.h"
#include "fakes/filebytes.h"
#include "fakes/manualclock.h"
#include "logging/monthdatabase.h"
#include "logging/sqlitefile.h"
#include "publishing/forecast.h"
#include "publishing/localserver.h"
#include "publishing/publisher.h"
#include "scheduler/scheduler.h"
#include "simulator/simulatedconsole.h"
#include "simulator/simulatedpagingservice.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>
#include <malloc.h>

namespace {

const QDateTime kStart(QDate(2026, 5, 12), QTime(0, 0, 0));
const QDateTime kOutage(kStart.date(), QTime(13, 0, 0));
const QDateTime kReturn(kStart.date(), QTime(13, 10, 0));
constexpr int kStepMs = 10000;

int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd"))
                   .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                   .size());
}

qint64 heapInUse()
{
    return qint64(mallinfo2().uordblks);
}

// Runs the event loop until `done`, for at most `limitMs` of real time: I/O in flight
// (pseudo-terminals, the local servers) lands between two clock steps.
bool settle(const std::function<bool()> &done, int limitMs = 5000)
{
    QTimer limit; // wakes the wait below when nothing else does
    limit.setSingleShot(true);
    limit.start(limitMs);
    const auto turn = [](QEventLoop::ProcessEventsFlags flags) {
        QCoreApplication::processEvents(flags);
        // What a running event loop does with deleteLater(); processEvents() alone never
        // deletes, and the day's spent sockets and page calls would look like a leak.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    turn(QEventLoop::AllEvents);
    while (!done()) {
        if (!limit.isActive())
            return false;
        turn(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

void runEventsFor(int ms)
{
    settle([] { return false; }, ms);
}

// The minutes of the day (0..1439) that hold a row of `table`, with how many rows each.
QMap<int, int> rowsByMinute(const QString &file, const QString &table)
{
    QMap<int, int> minutes;
    SqliteFile db;
    if (!db.open(file, SqliteFile::Mode::ReadOnly).ok())
        return minutes;
    QSqlQuery q(db.database());
    if (!q.exec(QStringLiteral("SELECT \"Date_Time\" FROM \"%1\"").arg(table)))
        return minutes;
    while (q.next()) {
        const QDateTime t = parseGeneralDate(q.value(0).toString());
        if (t.date() == kStart.date())
            ++minutes[t.time().hour() * 60 + t.time().minute()];
    }
    return minutes;
}

} // namespace

class TstSoak : public QObject
{
    Q_OBJECT
private slots:
    void aDayOnTheManualClock();
};

void TstSoak::aDayOnTheManualClock()
{
    QElapsedTimer wall;
    wall.start();
    // In memory when the system has a tmpfs: each record is a synced transaction, and a
    // day of them on a busy disk would measure the disk.
    const QString scratch = QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                ? QStringLiteral("/dev/shm/tst_soak-XXXXXX")
                                : QString();
    QTemporaryDir home(scratch.isEmpty() ? QDir::tempPath() + "/tst_soak-XXXXXX" : scratch);
    QTemporaryDir ftpRoot;
    qputenv("CORVANE_HOME", QFile::encodeName(home.path()));
    const QString forecastFile = home.filePath(QStringLiteral("forecast.html"));
    writeBytes(forecastFile, "<html><fc>Fair and mild</fc></html>");
    writeBytes(home.filePath(QStringLiteral("page.tpl")), "<p>*TPO* *HMO* at *GMT*</p>\r\n");
    writeBytes(home.filePath(QStringLiteral("hourly.txt")), "Temp *TPO* F\r\n");
    LocalServer ftp;
    QVERIFY(ftp.start(QStringLiteral("ftpserver.py"),
                      {"--root", ftpRoot.path(), "--user", "weather", "--password", "rain"}));
    LocalServer http;
    QVERIFY(http.start(QStringLiteral("httpserver.py"), {"--body", forecastFile}));

    // The station is a pseudo-terminal behind a fixed name, so that it can be replaced.
    const QString link = home.filePath(QStringLiteral("station"));
    auto station = std::make_unique<PseudoTerminal>();
    QVERIFY(station->open() && QFile::link(station->slavePath(), link));
    writeBytes(home.filePath(QStringLiteral("Ports.cfg")), ("1=" + link + "\n").toUtf8());
    Configuration c;
    c.StationPort = 1;
    c.LoggingInterval = 1;
    c.UploadInterval = 5;
    c.RemoteHost = QStringLiteral("ftp://127.0.0.1");
    c.RemotePort = QString::number(ftp.port());
    c.UserName = QStringLiteral("weather");
    c.Password = QStringLiteral("rain");
    c.TemplateFile1 = home.filePath(QStringLiteral("page.tpl"));
    c.OutputFile1 = home.filePath(QStringLiteral("page.html"));
    c.UploadPath = QStringLiteral("index.html");
    c.NwsRemoteHost = QStringLiteral("127.0.0.1:%1").arg(http.port());
    c.NwsDownloadPath = QStringLiteral("/forecast");
    c.NwsStartKey = QStringLiteral("<fc>");
    c.NwsEndKey = QStringLiteral("</fc>");
    c.HourlyPageTemplate = home.filePath(QStringLiteral("hourly.txt"));
    c.PagerPort = 3;
    c.FtpPort = 1;
    c.Pagers[0].Enabled = 1;
    c.Pagers[0].PageType = 0; // hourly
    c.Pagers[0].PagerNumber = QStringLiteral("5550100");
    c.Pagers[0].CompanyNumber = QStringLiteral("5551234");
    QVERIFY(saveConfiguration(configurationFilePath(), c).ok());

    // The engine starts an hour before the day, so that the day's figures are taken warm
    // and its first minute already has its logging and publishing passes.
    ManualClock clock(kStart.addSecs(-3600));
    Runtime runtime(clock, RunOptions{});
    RunOptions pagerOptions; // only the pager port goes to the simulated modem
    pagerOptions.simulate = true;
    Services services(runtime, pagerOptions);
    QVERIFY(services.simulatedPagingService());
    QSignalSpy pages(services.simulatedPagingService(), &SimulatedPagingService::pageReceived);
    runtime.startUp();
    QVERIFY(runtime.stationPortOpen());

    SimulatedConsole console(clock, 11);
    qint64 framesWritten = 0;
    const QString uploaded = ftpRoot.filePath(QStringLiteral("index.html"));
    QByteArray rendered = readBytes(c.OutputFile1); // none yet
    int forecastRequests = 0;
    int publishPasses = 0; // in the day
    int uploads = 0;       // in the day, as the server received them
    QDateTime lastFrameBeforeOutage;
    QDateTime firstFrameAfterOutage;
    int fdsWarm = 0;
    qint64 heapWarm = 0;

    QByteArray inFlight; // a page rendered whose upload the server has not shown yet
    bool inFlightCounts = false;
    const auto uploadLanded = [&] { return readBytes(uploaded) == inFlight; };
    while (clock.now() < kStart.addDays(1)) {
        // Whole 10 s steps, or 1 s steps while a page call is in progress, so that the
        // modem's replies come back about when they were sent.
        const bool calling = runtime.scheduler().isRunning(ScheduledJob::Paging);
        const qint64 toBoundary = kStepMs - clock.monotonicMs() % kStepMs;
        // An upload runs in real time beside the steps; it must have landed before the
        // next pass, which would otherwise find the channel busy and replace the page.
        if (!inFlight.isEmpty() &&
            clock.now().secsTo(runtime.scheduler().state().NextUploadTime) <= 60) {
            const bool landed = settle(uploadLanded);
            uploads += landed && inFlightCounts ? 1 : 0;
            inFlight.clear();
            // Likewise the forecast request: a channel still busy would drop the next one.
            QVERIFY(settle([&] {
                return http.lines().size() >= forecastRequests &&
                       !services.publisher().forecast().isBusy();
            }));
        }
        clock.advanceMs(calling ? qMin<qint64>(1000, toBoundary) : toBoundary);
        const QDateTime now = clock.now();
        const bool boundary = clock.monotonicMs() % kStepMs == 0;

        if (now == kOutage) {
            lastFrameBeforeOutage = runtime.stationLink().lastFrameTime();
            station.reset(); // the cable is pulled, and udev takes the alias away with it
            QFile::remove(link);
            QVERIFY(settle([&] { return !runtime.stationPortOpen(); }));
        } else if (now == kReturn.addMSecs(-kStepMs)) {
            // Plugged in again, so that the keeper's retry at 13:10 finds it.
            station = std::make_unique<PseudoTerminal>();
            QFile::remove(link);
            QVERIFY(station->open() && QFile::link(station->slavePath(), link));
        }
        // A round of the console's five groups every 10 s while the port is open.
        if (boundary && station && runtime.stationPortOpen()) {
            for (int i = 0; i < 5; ++i, ++framesWritten)
                QVERIFY(station->write(console.nextFrame()));
            const bool first = firstFrameAfterOutage.isNull() && now > kOutage;
            QVERIFY2(settle([&] {
                         return runtime.stationLink().counters().framesDecoded == framesWritten;
                     }),
                     qPrintable(now.toString()));
            if (first)
                firstFrameAfterOutage = runtime.stationLink().lastFrameTime();
        }
        // A publishing pass renders the page at once; its upload and forecast request go
        // on in the background.
        const QByteArray page = readBytes(c.OutputFile1);
        if (page != rendered) {
            rendered = page;
            ++forecastRequests;
            inFlight = page;
            inFlightCounts = now >= kStart;
            publishPasses += inFlightCounts ? 1 : 0;
        }
        if (calling)
            runEventsFor(2); // the modem's replies
        if (now == kStart) {
            fdsWarm = openDescriptors();
            heapWarm = heapInUse();
        }
    }
    // Anything still in flight lands before the last figures are taken.
    if (!inFlight.isEmpty())
        uploads += settle(uploadLanded) && inFlightCounts ? 1 : 0;
    runEventsFor(200);
    // Every pass asked for the forecast, and each request reached the server.
    QTRY_COMPARE_WITH_TIMEOUT(http.lines().size(), forecastRequests, 5000);
    const int fdsEnd = openDescriptors();
    const qint64 heapEnd = heapInUse();

    // Passes on readings two minutes old or more are skipped until frames return.
    const QString month = MonthDatabase(home.path(), kStart.date());
    const QMap<int, int> outdoor = rowsByMinute(month, QStringLiteral("Outdoor Data"));
    const QMap<int, int> indoor = rowsByMinute(month, QStringLiteral("Indoor Data"));
    QCOMPARE(outdoor, indoor);
    int skipped = 0;
    QStringList missing;
    // Logging passes come at 30 s past each minute (first tick 20 s after start-up, the
    // first pass on the tick after one interval).
    for (int minute = 0; minute < 24 * 60; ++minute) {
        const QDateTime pass = kStart.addSecs(minute * 60 + 30);
        const bool stale =
            pass >= lastFrameBeforeOutage.addSecs(120) && pass <= firstFrameAfterOutage;
        if (stale)
            ++skipped;
        if (outdoor.value(minute) != (stale ? 0 : 1))
            missing << QString::number(minute);
    }
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(' ')));
    qInfo() << "pairs" << outdoor.size() << "skipped" << skipped << "passes" << publishPasses
            << "uploads" << uploads << "pages" << pages.size() << "fds" << fdsWarm << fdsEnd
            << "heap" << heapWarm << heapEnd << "real ms" << wall.elapsed();
    // Frames stop after 12:59:50 and are back at 13:10:00: the passes of 13:02:30 to 13:09:30.
    QCOMPARE(skipped, 8);
    QCOMPARE(uploads, 288);
    QCOMPARE(publishPasses, 288);
    QCOMPARE(services.publisher().forecast().text(), QStringLiteral("<fc>Fair and mild"));
    // An hourly row pages only from 08:00 to 20:00: 13 a day, not 24.
    QCOMPARE(pages.size(), 13);
    QCOMPARE(fdsEnd, fdsWarm);
    // About 160 KB is seen, a few KB an hour, none of it left at exit. A leak of one small
    // object per logging pass or of one rendered page per upload would pass 256 KB.
    QVERIFY2(heapEnd - heapWarm < 256 * 1024, qPrintable(QString::number(heapEnd - heapWarm)));
    QVERIFY2(wall.elapsed() < 60000, qPrintable(QString::number(wall.elapsed())));
    qunsetenv("CORVANE_HOME");
}

QTEST_GUILESS_MAIN(TstSoak)
#include "tst_soak.moc"
