// The pager step end to end: report templates, the checks and the simulated paging service.
#include "clockdrive.h"

#include "acquisition/readingsrecord.h"
#include "config/configuration.h"
#include "core/job.h"
#include "core/statusboard.h"
#include "paging/pagingjob.h"
#include "paging/pagerflags.h"
#include "simulator/simulatedpagingservice.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Three rows due at noon (two hourly, one daily) behind the simulated paging service.
struct NoonPages
{
    NoonPages()
    {
        const auto writeFile = [&](const QString &name, const QByteArray &text) {
            QFile f(dir.filePath(name));
            return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
        };
        ok = writeFile("hourly.txt", "Noon temp *TPO* F *GMT*\r\n") &&
             writeFile("daily.txt", "Gusts *CWS* from the *CWDA*. *SWX*") && service.start();
        config.PagerPort = 3;
        config.FtpPort = 1;
        config.HourlyPageTemplate = dir.filePath("hourly.txt");
        config.DailyPageTemplate = dir.filePath("daily.txt");
        for (int i : {0, 1, 2}) {
            config.Pagers[i].Enabled = 1;
            config.Pagers[i].PageType = i == 2 ? 0 : i;
            config.Pagers[i].PagerNumber = QStringLiteral("20%1").arg(i);
            config.Pagers[i].CompanyNumber = QStringLiteral("5551234");
        }
        readings.setText(QStringLiteral("OutdoorTemperature"), QStringLiteral("071.3"));
        readings.setText(QStringLiteral("GustSpeed"), QStringLiteral("18"));
        readings.setText(QStringLiteral("GustDirection"), QStringLiteral("250"));
    }

    // Drives the clock until `done`, with every byte delivered between the steps.
    bool driveUntil(const std::function<bool()> &done, double maxSeconds)
    {
        return ::driveUntil(
            clock, done,
            [&] {
                return service.modem()->received().size() >= port->bytesWritten() &&
                       (!port->isOpen() || port->bytesArrived() >= service.modem()->bytesWritten());
            },
            maxSeconds);
    }

    QTemporaryDir dir;
    ManualClock clock{QDateTime(QDate(2026, 3, 2), QTime(12, 0, 10))};
    SimulatedPagingService service{clock};
    Configuration config;
    ReadingsRecord readings;
    StatusBoard status;
    std::unique_ptr<CountingPort> port = std::make_unique<CountingPort>(createSerialPort());
    int portAsked = 0;
    PagingJob job{config,
                  readings,
                  clock,
                  status,
                  ModemPagerWiring{port.get(),
                                   [this](int n) {
                                       portAsked = n;
                                       return service.devicePath();
                                   },
                                   {}},
                  [] { return QStringLiteral(" Showers "); }};
    bool ok = false;
};

} // namespace

class TestPagingJob : public QObject
{
    Q_OBJECT
private slots:
    void serviceStartsOnce();
    void checkEndsWhenItsPagesAreSent();
    void abandonedCheckEndsTheCallAndDropsTheRest();
    void missingTemplateIsReported();
};

void TestPagingJob::serviceStartsOnce()
{
    ManualClock clock;
    SimulatedPagingService service(clock);
    QVERIFY(service.devicePath().isEmpty());
    QVERIFY(!service.modem());
    QVERIFY(service.start());
    const QString path = service.devicePath();
    QVERIFY(QFile::exists(path));
    QVERIFY(service.start());
    QCOMPARE(service.devicePath(), path);
}

void TestPagingJob::checkEndsWhenItsPagesAreSent()
{
    NoonPages p;
    QVERIFY(p.ok);
    QSignalSpy received(&p.service, &SimulatedPagingService::pageReceived);

    std::unique_ptr<Job> check = p.job.CheckPagers();
    QSignalSpy finished(check.get(), &Job::finished);
    check->start();
    QVERIFY(check->isRunning()); // three calls queued
    QVERIFY(p.job.flags().HourlyPageSent[0] && p.job.flags().DailyPageSent[1]);
    // A second check in the same minute finds every flag set: nothing to send, done at once.
    std::unique_ptr<Job> again = p.job.CheckPagers();
    again->start();
    QVERIFY(!again->isRunning());

    QVERIFY(p.driveUntil([&] { return !finished.isEmpty(); }, 300));
    QCOMPARE(finished.size(), 1);
    QVERIFY(!p.job.pager().isBusy() && p.job.pager().waiting() == 0);
    QCOMPARE(p.portAsked, 3);
    QCOMPARE(received.size(), 3);
    const QString hourly = QStringLiteral("Noon temp 071.3 F *GMT* ");
    const QString daily = QStringLiteral("Gusts 18 from the West. Showers");
    QCOMPARE(received[0], QVariantList({"200", hourly}));
    QCOMPARE(received[1], QVariantList({"201", daily}));
    QCOMPARE(received[2], QVariantList({"202", hourly}));
    QCOMPARE(p.status.statusText(), QString());

    // The quarter-hour reset lets the rows page again.
    p.job.clearPageSentFlags();
    QVERIFY(!p.job.flags().HourlyPageSent[0] && !p.job.flags().DailyPageSent[1]);
}

void TestPagingJob::abandonedCheckEndsTheCallAndDropsTheRest()
{
    NoonPages p;
    QVERIFY(p.ok);
    QSignalSpy received(&p.service, &SimulatedPagingService::pageReceived);
    std::unique_ptr<Job> check = p.job.CheckPagers();
    QSignalSpy finished(check.get(), &Job::finished);
    check->start();
    QVERIFY(p.driveUntil([&] { return p.status.statusText() == "DIALING MESSAGE SERVICE"; }, 60));

    check->abandon();
    QVERIFY(!p.port->isOpen());
    QVERIFY(!p.job.pager().isBusy());
    QCOMPARE(p.job.pager().waiting(), 0);
    QCOMPARE(p.status.statusText(), QString());
    // Nothing of the call or of the rows after it goes on.
    const qint64 written = p.port->bytesWritten();
    QVERIFY(!p.driveUntil([] { return false; }, 120));
    QCOMPARE(p.port->bytesWritten(), written);
    QCOMPARE(received.size(), 0);
    QCOMPARE(finished.size(), 0);
}

void TestPagingJob::missingTemplateIsReported()
{
    ManualClock clock(QDateTime(QDate(2026, 3, 2), QTime(9, 0)));
    Configuration config;
    config.HourlyPageTemplate = QStringLiteral("no-such-template.txt");
    config.Pagers[1].Enabled = 1;
    config.Pagers[1].PageType = 0;
    ReadingsRecord readings;
    StatusBoard status;
    PagingJob job(config, readings, clock, status, ModemPagerWiring{}, {});
    QSignalSpy problems(&job, &PagingJob::rowProblem);
    std::unique_ptr<Job> check = job.CheckPagers();
    check->start();
    QVERIFY(!check->isRunning()); // nothing was sent, so nothing to wait for
    QCOMPARE(problems.size(), 1);
    QCOMPARE(problems[0][0].toInt(), 1);
    QVERIFY(problems[0][1].toString().contains(QStringLiteral("no-such-template.txt")));
    QVERIFY(!job.pager().isBusy());
}

QTEST_GUILESS_MAIN(TestPagingJob)
#include "tst_pagingjob.moc"
