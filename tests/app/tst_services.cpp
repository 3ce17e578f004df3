// The services' transfer wiring: every channel's failure reason reaches the transfer log
// without the password, and corvane.conf and known_hosts reach the FTP channels.
#include "app/runtime.h"
#include "app/services.h"
#include "config/configuration.h"
#include "core/clock.h"
#include "core/statusboard.h"
#include "core/transferlog.h"
#include "fakes/filebytes.h"
#include "publishing/localserver.h"
#include "publishing/publisher.h"

#include <QTemporaryDir>
#include <QtTest>

class TstServices : public QObject
{
    Q_OBJECT
private slots:
    void transferFailuresReachTheLog();
};

void TstServices::transferFailuresReachTheLog()
{
    const QString password = QStringLiteral("pa55-Zq7!word");
    QTemporaryDir home;
    qputenv("CORVANE_HOME", QFile::encodeName(home.path()));
    writeBytes(home.filePath("corvane.conf"), "[ftps]\npinned_key=AB:CD\n");
    writeBytes(home.filePath("page.tpl"), "<p>*TPO*</p>\r\n");
    LocalServer gone; // a port that was just free
    QVERIFY(gone.start("httpserver.py", {}));
    const QString port = QString::number(gone.port());
    gone.stop();

    SystemClock clock;
    Runtime runtime(clock, RunOptions{});
    Services services(runtime, RunOptions{});
    Configuration c;
    c.RemoteHost = "sftp://127.0.0.1";
    c.RemotePort = port;
    c.UserName = "weather";
    c.Password = password;
    c.TemplateFile1 = home.filePath("page.tpl");
    c.OutputFile1 = home.filePath("page.html");
    c.UploadPath = "index.html";
    c.NwsRemoteHost = "127.0.0.1:" + port;
    c.NwsDownloadPath = "/fc";
    runtime.setConfiguration(c);
    services.publisher().PublishWebPages(); // page 1 on Inet1, then the forecast on Inet2

    const TransferLog &log = services.transferLog();
    QTRY_COMPARE_WITH_TIMEOUT(log.entries().size(), 3, 20000);
    QStringList texts;
    for (const TransferLogEntry &e : log.entries())
        texts << e.text;
    const QString all = texts.join('\n');
    QVERIFY2(texts.at(0).startsWith("corvane.conf: [ftps] pinned_key"), qPrintable(all));
    // Refused connections, both: SFTP got as far as connecting, so it had its known_hosts.
    QVERIFY2(all.contains("PUT " + c.OutputFile1 + " index.html to sftp://127.0.0.1:" + port +
                          ": Failed to connect"),
             qPrintable(all));
    QVERIFY2(all.contains("GET /fc from http://127.0.0.1:" + port + ": Failed to connect"),
             qPrintable(all));
    QVERIFY(!all.contains(password));
    QCOMPARE(runtime.status().statusText(),
             "An error occurred in communicating with the host computer.");
    qunsetenv("CORVANE_HOME");
}

QTEST_GUILESS_MAIN(TstServices)
#include "tst_services.moc"
