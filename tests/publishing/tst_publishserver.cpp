// Whole publishing passes against local FTP and HTTP servers.
#include "acquisition/readingsrecord.h"
#include "config/configuration.h"
#include "core/statusboard.h"
#include "fakes/filebytes.h"
#include "fakes/manualclock.h"
#include "localserver.h"
#include "publishing/curltransferchannel.h"
#include "publishing/forecast.h"
#include "publishing/pagetokens.h"
#include "publishing/publisher.h"
#include "publishing/publishpass.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kUser = QStringLiteral("weather");
const QString kPassword = QStringLiteral("pa55-Zq7!word");

} // namespace

class TestPublishServer : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void pagesArriveExpanded();
    void wrongPasswordShowsError();

private:
    Configuration baseConfig(const QString &password) const;

    QTemporaryDir m_root;
    QTemporaryDir m_local;
    LocalServer m_ftp;
    LocalServer m_http;
};

void TestPublishServer::initTestCase()
{
    QVERIFY(m_ftp.start("ftpserver.py",
                        {"--root", m_root.path(), "--user", kUser, "--password", kPassword}));
    writeBytes(m_local.filePath("forecast.html"), "<html>FORECAST: cloudy, then sun.<hr></html>");
    QVERIFY(m_http.start("httpserver.py", {"--body", m_local.filePath("forecast.html")}));
}

Configuration TestPublishServer::baseConfig(const QString &password) const
{
    Configuration c;
    c.RemoteHost = QStringLiteral("127.0.0.1");
    c.RemotePort = QString::number(m_ftp.port());
    c.UserName = kUser;
    c.Password = password;
    c.TemplateFile1 = m_local.filePath("one.tpl");
    c.OutputFile1 = m_local.filePath("one.html");
    c.UploadPath = QStringLiteral("index.html");
    c.TemplateFile2 = m_local.filePath("two.tpl");
    c.OutputFile2 = m_local.filePath("two.html");
    c.UploadPath2 = QStringLiteral("/second.html");
    c.NwsRemoteHost = QStringLiteral("127.0.0.1:%1").arg(m_http.port());
    c.NwsDownloadPath = QStringLiteral("/fc.html");
    c.NwsStartKey = QStringLiteral("FORECAST:");
    c.NwsEndKey = QStringLiteral("<hr>");
    return c;
}

void TestPublishServer::pagesArriveExpanded()
{
    // Every token of the table, each on its own line, in both templates.
    QByteArray all;
    for (const QString &token : pageTokenNames())
        all += token.toLatin1() + "\r\n";
    writeBytes(m_local.filePath("one.tpl"), "<h1>page one</h1>\r\n" + all);
    writeBytes(m_local.filePath("two.tpl"), "<h1>page two</h1>\r\n" + all);

    const Configuration config = baseConfig(kPassword);
    ManualClock clock;
    ReadingsRecord readings;
    for (const QString &field : ReadingsRecord::fieldNames())
        readings.setText(field, QStringLiteral("v"));
    readings.setText("GustDirection", "180");
    StatusBoard status;
    CurlTransferChannel inet1(CurlTransferChannel::Protocol::Ftp),
        inet2(CurlTransferChannel::Protocol::Http), inet3(CurlTransferChannel::Protocol::Ftp);
    Publisher publisher(clock, config, readings, status, inet1, inet2, inet3);
    QSignalSpy forecast(&publisher.forecast(), &ForecastRetriever::forecastChanged);
    // Page 1 goes up for real before the pass's 10 s pass on the manual clock; a page left
    // busy would show as a refused page 2.
    const auto publish = [&] {
        std::unique_ptr<PublishPass> pass = publisher.createPass();
        pass->start();
        QTRY_VERIFY_WITH_TIMEOUT(!inet1.isBusy(), 20000);
        clock.advanceMs(PublishPass::SecondPageDelayMs);
        QVERIFY(!pass->isRunning());
    };

    // The first pass fetches the forecast; the second pass puts it on the pages.
    publish();
    QTRY_VERIFY_WITH_TIMEOUT(!forecast.isEmpty() && !inet1.isBusy(), 20000);
    QCOMPARE(publisher.forecast().text(), QString("FORECAST: cloudy, then sun."));
    publish();
    QTRY_VERIFY_WITH_TIMEOUT(!inet1.isBusy() && !inet2.isBusy(), 20000);

    for (const QString &name : {QStringLiteral("index.html"), QStringLiteral("second.html")}) {
        const QByteArray page = readBytes(m_root.filePath(name));
        QVERIFY2(page.startsWith("<h1>page "), qPrintable(name));
        for (const QString &token : pageTokenNames())
            QVERIFY2(!page.contains(token.toLatin1()), qPrintable(name + " " + token));
        QVERIFY(page.contains("\r\nSouth\r\n"));
        QVERIFY(page.contains("\r\nFORECAST: cloudy, then sun.\r\n"));
        QVERIFY(page.endsWith(" GMT\r\n\r\n"));
    }
    QCOMPARE(readBytes(m_root.filePath("index.html")), readBytes(config.OutputFile1));
    QVERIFY(status.statusText().startsWith("Corvane has processed the request"));
}

void TestPublishServer::wrongPasswordShowsError()
{
    writeBytes(m_local.filePath("one.tpl"), "*TPO*");
    Configuration config = baseConfig(QStringLiteral("not-the-password"));
    config.TemplateFile2.clear();
    config.NwsRemoteHost.clear(); // the forecast fails too, on its own channel
    ManualClock clock;
    ReadingsRecord readings;
    StatusBoard status;
    QStringList texts;
    connect(&status, &StatusBoard::statusTextChanged, this, [&](const QString &t) { texts << t; });
    CurlTransferChannel inet1(CurlTransferChannel::Protocol::Ftp),
        inet2(CurlTransferChannel::Protocol::Http), inet3(CurlTransferChannel::Protocol::Ftp);
    Publisher publisher(clock, config, readings, status, inet1, inet2, inet3);
    QSignalSpy states(&inet1, &TransferChannel::stateChanged);

    publisher.PublishWebPages();
    QTRY_VERIFY_WITH_TIMEOUT(
        !states.isEmpty() && states.last().first().toInt() == TransferState::Error, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(!inet1.isBusy() && !inet2.isBusy(), 20000);
    QVERIFY(texts.contains("An error occurred in communicating with the host computer."));
    for (const QString &t : std::as_const(texts))
        QVERIFY2(!t.contains(config.Password), qPrintable(t));
    // The channel is free for the next pass.
    config.Password = kPassword;
    publisher.applyFtpSettings(config);
    QVERIFY(inet1.execute("PUT " + config.OutputFile1 + " retry.html"));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_root.filePath("retry.html")), 20000);
}

QTEST_GUILESS_MAIN(TestPublishServer)
#include "tst_publishserver.moc"
