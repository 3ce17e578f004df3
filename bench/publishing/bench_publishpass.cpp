// A publishing pass against a local FTP server: from the start of the pass to state 12 of page 1.
#include "acquisition/readingsrecord.h"
#include "config/configuration.h"
#include "core/clock.h"
#include "core/statusboard.h"
#include "publishing/curltransferchannel.h"
#include "publishing/pagetokens.h"
#include "publishing/publisher.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct FtpServer
{
    QTemporaryDir root;
    QProcess process;
    int port = 0;

    bool start()
    {
        process.start(QStringLiteral("/usr/bin/python3"),
                      {QStringLiteral(CORVANE_TEST_SCRIPTS "/ftpserver.py"),
                       QStringLiteral("--root"), root.path(), QStringLiteral("--user"),
                       QStringLiteral("bench"), QStringLiteral("--password"),
                       QStringLiteral("bench")});
        if (!process.waitForStarted(10000))
            return false;
        for (int i = 0; i < 100 && !process.canReadLine(); ++i)
            process.waitForReadyRead(100);
        port = process.readLine().trimmed().toInt();
        return port > 0;
    }
    ~FtpServer()
    {
        process.closeWriteChannel();
        if (!process.waitForFinished(5000))
            process.kill();
        process.waitForFinished(5000);
    }
};

void BM_PublishPassToPageOneDone(benchmark::State &state)
{
    FtpServer server;
    if (!server.start()) {
        state.SkipWithError("the FTP server did not start");
        return;
    }
    QTemporaryDir local;
    QString templ;
    for (int i = 0; i < 40; ++i) // a typical page: a table of every token, 40 times over
        for (const QString &token : pageTokenNames())
            templ += QStringLiteral("<tr><td>%1</td></tr>\r\n").arg(token);
    {
        QFile f(local.filePath("page.tpl"));
        f.open(QIODevice::WriteOnly);
        f.write(templ.toLatin1());
    }
    Configuration config;
    config.RemoteHost = QStringLiteral("127.0.0.1");
    config.RemotePort = QString::number(server.port);
    config.UserName = QStringLiteral("bench");
    config.Password = QStringLiteral("bench");
    config.TemplateFile1 = local.filePath("page.tpl");
    config.OutputFile1 = local.filePath("page.html");
    config.UploadPath = QStringLiteral("index.html");
    config.NwsRemoteHost =
        QStringLiteral("127.0.0.1:1"); // refused at once: the pass is what is timed

    SystemClock clock;
    ReadingsRecord readings;
    for (const QString &field : ReadingsRecord::fieldNames())
        readings.setText(field, QStringLiteral("72.5"));
    StatusBoard status;
    CurlTransferChannel inet1(CurlTransferChannel::Protocol::Ftp),
        inet2(CurlTransferChannel::Protocol::Http), inet3(CurlTransferChannel::Protocol::Ftp);
    Publisher publisher(clock, config, readings, status, inet1, inet2, inet3);
    int lastState = 0;
    QEventLoop loop; // sleeps until an event comes: a spinning wait would starve the server
    QObject::connect(&inet1, &TransferChannel::stateChanged, [&](int s) {
        lastState = s;
        if (s == TransferState::Completed || s == TransferState::Error)
            loop.quit();
    });
    QObject::connect(&inet2, &TransferChannel::stateChanged, [&](int s) {
        if (s == TransferState::Completed || s == TransferState::Error)
            loop.quit();
    });

    for (auto _ : state) {
        lastState = 0;
        QElapsedTimer timer;
        timer.start();
        publisher.PublishWebPages();
        while (lastState != TransferState::Completed && lastState != TransferState::Error)
            loop.exec();
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        if (lastState != TransferState::Completed) {
            state.SkipWithError("the upload failed");
            break;
        }
        while (inet1.isBusy() || inet2.isBusy())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    state.counters["page_bytes"] = double(QFile(config.OutputFile1).size());
}
BENCHMARK(BM_PublishPassToPageOneDone)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(30);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
