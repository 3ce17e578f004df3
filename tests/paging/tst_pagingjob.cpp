// The pager step end to end: report templates, the checks and the simulated paging service.
#include "clockdrive.h"

#include "acquisition/readingsrecord.h"
#include "config/configuration.h"
#include "core/statusboard.h"
#include "paging/pagingjob.h"
#include "scheduler/scheduledjobs.h"
#include "simulator/simulatedpagingservice.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class TestPagingJob : public QObject
{
    Q_OBJECT
private slots:
    void serviceStartsOnce();
    void reportsGoOutThroughTheSimulatedService();
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

void TestPagingJob::reportsGoOutThroughTheSimulatedService()
{
    QTemporaryDir dir;
    const auto writeFile = [&](const QString &name, const QByteArray &text) {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
    };
    QVERIFY(writeFile("hourly.txt", "Noon temp *TPO* F *GMT*\r\n"));
    QVERIFY(writeFile("daily.txt", "Gusts *CWS* from the *CWDA*. *SWX*"));

    ManualClock clock(QDateTime(QDate(2026, 3, 2), QTime(12, 0, 10)));
    SimulatedPagingService service(clock);
    QVERIFY(service.start());
    QSignalSpy received(&service, &SimulatedPagingService::pageReceived);

    Configuration config;
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
    ReadingsRecord readings;
    readings.setText(QStringLiteral("OutdoorTemperature"), QStringLiteral("071.3"));
    readings.setText(QStringLiteral("GustSpeed"), QStringLiteral("18"));
    readings.setText(QStringLiteral("GustDirection"), QStringLiteral("250"));
    StatusBoard status;
    auto port = std::make_unique<CountingPort>(createSerialPort());
    int portAsked = 0;
    PagingJob job(config, readings, clock, status,
                  ModemPagerWiring{port.get(),
                                   [&](int n) {
                                       portAsked = n;
                                       return service.devicePath();
                                   },
                                   {}},
                  [] { return QStringLiteral(" Showers "); });

    PagerFlags flags;
    job.CheckPagers(flags);
    job.CheckPagers(flags); // a second tick of the same minute adds nothing
    const bool done = driveUntil(
        clock, [&] { return !job.pager().isBusy() && job.pager().waiting() == 0; },
        [&] {
            return service.modem()->received().size() >= port->bytesWritten() &&
                   (!port->isOpen() || port->bytesArrived() >= service.modem()->bytesWritten());
        },
        300);
    QVERIFY(done);
    QCOMPARE(portAsked, 3);
    QCOMPARE(received.size(), 3);
    const QString hourly = QStringLiteral("Noon temp 071.3 F *GMT* ");
    const QString daily = QStringLiteral("Gusts 18 from the West. Showers");
    QCOMPARE(received[0], QVariantList({"200", hourly}));
    QCOMPARE(received[1], QVariantList({"201", daily}));
    QCOMPARE(received[2], QVariantList({"202", hourly}));
    QCOMPARE(status.statusText(), QString());
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
    PagerFlags flags;
    job.CheckPagers(flags);
    QCOMPARE(problems.size(), 1);
    QCOMPARE(problems[0][0].toInt(), 1);
    QVERIFY(problems[0][1].toString().contains(QStringLiteral("no-such-template.txt")));
    QVERIFY(!job.pager().isBusy());
}

QTEST_GUILESS_MAIN(TestPagingJob)
#include "tst_pagingjob.moc"
