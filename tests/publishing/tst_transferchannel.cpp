// The libcurl channel against local FTP and HTTP servers, among them broken and hostile ones,
// and its operation texts and URLs.
#include "fakes/filebytes.h"
#include "localserver.h"
#include "publishing/curltransferchannel.h"
#include "publishing/transferoperation.h"
#include "publishing/transferreason.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(TransferLimits)

namespace {

const QString kUser = QStringLiteral("weather");
const QString kPassword = QStringLiteral("pa55-Zq7!word");

bool ended(const QSignalSpy &spy)
{
    for (const QList<QVariant> &args : spy) {
        const int s = args.at(0).toInt();
        if (s == TransferState::Error || s == TransferState::Completed)
            return true;
    }
    return false;
}

QList<int> states(const QSignalSpy &spy)
{
    QList<int> out;
    for (const QList<QVariant> &args : spy)
        out << args.at(0).toInt();
    return out;
}

// Limits short enough for a test; each case lengthens what it does not test.
TransferLimits shortLimits(int connect, int response, int lowSpeedSeconds)
{
    TransferLimits limits;
    limits.connectSeconds = connect;
    limits.serverResponseSeconds = response;
    limits.lowSpeedSeconds = lowSpeedSeconds;
    limits.sendBufferBytes = 2048; // the kernel's buffers would hide a slow server
    return limits;
}

void logIn(CurlTransferChannel &channel, int port, const QString &password = kPassword)
{
    channel.setHost("127.0.0.1");
    channel.setPort(port);
    channel.setUserName(kUser);
    channel.setPassword(password);
}

} // namespace

class TestTransferChannel : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void parsesOperations_data();
    void parsesOperations();
    void buildsUrls_data();
    void buildsUrls();
    void reasonsNameServerNotPassword_data();
    void reasonsNameServerNotPassword();
    void uploadsByFtp_data();
    void uploadsByFtp();
    void failedUploadEndsInError_data();
    void failedUploadEndsInError();
    void busyChannelRefusesSecondRequest();
    void downloadsInPieces();
    void runsWithProductionLimits();
    void limitsEndDeadTransfersOnly_data();
    void limitsEndDeadTransfersOnly();

private:
    QTemporaryDir m_root;
    QTemporaryDir m_local;
    LocalServer m_ftp;
};

void TestTransferChannel::initTestCase()
{
    QVERIFY(QDir(m_root.path()).mkdir("site"));
    writeBytes(m_local.filePath("my page.html"), "x");
    QVERIFY(m_ftp.start("ftpserver.py",
                        {"--root", m_root.path(), "--user", kUser, "--password", kPassword}));
}

void TestTransferChannel::parsesOperations_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("local");
    QTest::addColumn<QString>("remote");
    const auto row = [](const char *name, const QString &text, int kind, const QString &local,
                        const QString &remote) {
        QTest::newRow(name) << text << kind << local << remote;
    };
    const int put = TransferOperation::Put, get = TransferOperation::Get,
              bad = TransferOperation::Invalid;
    row("put", "PUT page.html index.html", put, "page.html", "index.html");
    row("put remote with blank", "PUT page.html my site/a.html", put, "page.html",
        "my site/a.html");
    row("put empty remote", "PUT page.html ", put, "page.html", "");
    const QString spaced = m_local.filePath("my page.html"); // exists: see initTestCase
    row("existing local file with blank", "PUT " + spaced + " site/a.html", put, spaced,
        "site/a.html");
    row("put one name", "PUT page.html", bad, "", "");
    row("get", "GET /a b?x=1", get, "", "/a b?x=1");
    row("lower case", "put a b", bad, "", "");
}

void TestTransferChannel::parsesOperations()
{
    QFETCH(QString, text);
    QFETCH(int, kind);
    QFETCH(QString, local);
    QFETCH(QString, remote);
    const TransferOperation op = parseTransferOperation(text);
    QCOMPARE(int(op.kind), kind);
    QCOMPARE(op.localFile, local);
    QCOMPARE(op.remotePath, remote);
}

void TestTransferChannel::buildsUrls_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("remote");
    QTest::addColumn<QString>("url");
    const auto row = [](const char *name, const char *host, int port, const char *remote,
                        const char *url) {
        QTest::newRow(name) << QString(host) << port << QString(remote) << QString(url);
    };
    row("relative", "ftp.example", 21, "index.html", "ftp://ftp.example:21/index.html");
    row("absolute", "ftp.example", 21, "/www/a.html", "ftp://ftp.example:21/%2Fwww/a.html");
    row("folder takes local name", "ftp.example", 2121, "www/",
        "ftp://ftp.example:2121/www/page.html");
    row("blank encoded", "ftp.example", 21, "my site/a.html",
        "ftp://ftp.example:21/my%20site/a.html");
    row("ftps kept, plain port dropped", "ftps://ftp.example", 21, "a.html",
        "ftps://ftp.example/a.html");
    row("sftp home", "sftp://ssh.example", 22, "a.html", "sftp://ssh.example:22/~/a.html");
    row("sftp root", "sftp://ssh.example", 21, "/var/a.html", "sftp://ssh.example/var/a.html");
    row("host names port", "ftp.example:990", 21, "a.html", "ftp://ftp.example:990/a.html");
}

void TestTransferChannel::buildsUrls()
{
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(QString, remote);
    QFETCH(QString, url);
    QCOMPARE(uploadUrl(host, port, remote, "/tmp/out/page.html"), url);
}

void TestTransferChannel::reasonsNameServerNotPassword_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("reason");
    QTest::newRow("upload") << "PUT a.html b.html"
                            << "ftp://h.example:21/b.html"
                            << "PUT a.html b.html to ftp://h.example:21: Login denied";
    QTest::newRow("download") << "GET /fc?z=1"
                              << "http://h.example/fc?z=1"
                              << "GET /fc?z=1 from http://h.example: Login denied";
    QTest::newRow("credentials written into the host")
        << "PUT a.html b.html"
        << "ftp://weather:" + kPassword + "@h.example:21/b.html"
        << "PUT a.html b.html to ftp://h.example:21: Login denied";
    QTest::newRow("password in a file name is masked")
        << "PUT " + kPassword + ".html b.html"
        << "ftp://h.example:21/b.html"
        << "PUT ********.html b.html to ftp://h.example:21: Login denied";
}

void TestTransferChannel::reasonsNameServerNotPassword()
{
    QFETCH(QString, operation);
    QFETCH(QString, url);
    QFETCH(QString, reason);
    QCOMPARE(transferFailureReason(operation, url, "Login denied", kPassword), reason);
}

void TestTransferChannel::uploadsByFtp_data()
{
    QTest::addColumn<QString>("localName");
    QTest::addColumn<QString>("remote");
    QTest::addColumn<QString>("arrives");
    const auto row = [](const char *name, const char *local, const char *remote,
                        const char *arrives) {
        QTest::newRow(name) << QString(local) << QString(remote) << QString(arrives);
    };
    row("relative", "page.html", "index.html", "index.html");
    row("absolute", "page.html", "/site/abs.html", "site/abs.html");
    row("into folder", "page.html", "site/rel.html", "site/rel.html");
    row("folder takes local name", "named.html", "site/", "site/named.html");
    row("blanks in both names", "my page.html", "site/my page.html", "site/my page.html");
}

void TestTransferChannel::uploadsByFtp()
{
    QFETCH(QString, localName);
    QFETCH(QString, remote);
    QFETCH(QString, arrives);
    const QString local = m_local.filePath(localName);
    const QByteArray content = "<html>caf\xe9 " + QByteArray(5000, 'x') + "\r\n";
    writeBytes(local, content);

    CurlTransferChannel channel(CurlTransferChannel::Protocol::Ftp);
    logIn(channel, m_ftp.port());
    QSignalSpy spy(&channel, &TransferChannel::stateChanged);
    QVERIFY(channel.execute("PUT " + local + " " + remote));
    QVERIFY(channel.isBusy());
    QTRY_VERIFY_WITH_TIMEOUT(ended(spy), 20000);

    const QList<int> seen = states(spy);
    QVERIFY2(seen.last() == TransferState::Completed, qPrintable(channel.lastError()));
    // Every state we can tell apart, once each and in order.
    const QList<int> expected{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12};
    QCOMPARE(seen, expected);
    QVERIFY(!channel.isBusy());
    QCOMPARE(readBytes(m_root.filePath(arrives)), content);
}

void TestTransferChannel::failedUploadEndsInError_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("closedPort");
    QTest::addColumn<QString>("remote");
    QTest::addColumn<bool>("localExists");
    QTest::addColumn<bool>("silentServer");
    QTest::addColumn<QString>("because"); // what sets the reason apart from the others
    const auto row = [](const char *name, const QString &password, bool closedPort,
                        const char *remote, bool localExists, bool silent, const char *because) {
        QTest::newRow(name) << password << closedPort << QString(remote) << localExists << silent
                            << QString(because);
    };
    row("wrong password", "wrong-Zq7", false, "index.html", true, false, "Login denied");
    row("closed port", kPassword, true, "index.html", true, false, "Couldn't connect");
    row("silent server", kPassword, false, "index.html", true, true, "timeout");
    row("missing remote folder", kPassword, false, "nowhere/index.html", true, false,
        "Failed FTP upload");
    row("missing local file", kPassword, false, "index.html", false, false, "local file");
}

void TestTransferChannel::failedUploadEndsInError()
{
    QFETCH(QString, password);
    QFETCH(bool, closedPort);
    QFETCH(QString, remote);
    QFETCH(bool, localExists);
    QFETCH(bool, silentServer);
    QFETCH(QString, because);
    const QString local = m_local.filePath(localExists ? "fail.html" : "absent.html");
    if (localExists)
        writeBytes(local, "page\r\n");

    int port = m_ftp.port();
    LocalServer other;
    if (closedPort) {
        // A port that was just free: a server started and stopped on it.
        QVERIFY(other.start("httpserver.py", {}));
        port = other.port();
        other.stop();
    } else if (silentServer) {
        QVERIFY(other.start("httpserver.py", {"--mode", "silent"}));
        port = other.port();
    }
    CurlTransferChannel channel(CurlTransferChannel::Protocol::Ftp);
    // The silent server is caught by the reply wait; the wrong password is answered after 3 s.
    channel.setLimits(shortLimits(10, silentServer ? 1 : 10, 10));
    logIn(channel, port, password);
    QSignalSpy spy(&channel, &TransferChannel::stateChanged);
    QSignalSpy failed(&channel, &TransferChannel::failed);
    const QString operation = "PUT " + local + " " + remote;
    QVERIFY(channel.execute(operation));
    QTRY_VERIFY_WITH_TIMEOUT(ended(spy), 20000);
    QCOMPARE(states(spy).last(), int(TransferState::Error));
    QVERIFY(!states(spy).contains(TransferState::Completed));
    QVERIFY(!channel.isBusy());
    QCOMPARE(failed.size(), 1);
    const QString reason = failed.at(0).at(0).toString();
    QCOMPARE(reason, channel.lastError());
    QVERIFY2(reason.startsWith(operation + " to ftp://127.0.0.1:" + QString::number(port) + ": "),
             qPrintable(reason));
    QVERIFY2(reason.contains(because, Qt::CaseInsensitive), qPrintable(reason));
    QVERIFY(!reason.contains(password));
    QVERIFY(!QFile::exists(m_root.filePath("nowhere")));
}

void TestTransferChannel::busyChannelRefusesSecondRequest()
{
    const QString local = m_local.filePath("busy.html");
    writeBytes(local, "page\r\n");
    CurlTransferChannel channel(CurlTransferChannel::Protocol::Ftp);
    logIn(channel, m_ftp.port());
    QSignalSpy spy(&channel, &TransferChannel::stateChanged);
    QVERIFY(channel.execute("PUT " + local + " first.html"));
    QVERIFY(!channel.execute("PUT " + local + " second.html"));
    QTRY_VERIFY_WITH_TIMEOUT(ended(spy), 20000);
    QCOMPARE(states(spy).last(), int(TransferState::Completed));
    QVERIFY(QFile::exists(m_root.filePath("first.html")));
    QVERIFY(!QFile::exists(m_root.filePath("second.html")));
    // Idle again: the next request is taken.
    spy.clear();
    QVERIFY(channel.execute("PUT " + local + " second.html"));
    QTRY_VERIFY_WITH_TIMEOUT(ended(spy), 20000);
    QVERIFY(QFile::exists(m_root.filePath("second.html")));
}

void TestTransferChannel::downloadsInPieces()
{
    QByteArray body;
    for (int i = 0; i < 3000; ++i)
        body += char(32 + i % 224); // 8-bit characters too
    const QString bodyFile = m_local.filePath("body.bin");
    writeBytes(bodyFile, body);
    LocalServer http;
    QVERIFY(http.start("httpserver.py", {"--body", bodyFile}));

    CurlTransferChannel channel(CurlTransferChannel::Protocol::Http);
    channel.setHost("127.0.0.1");
    channel.setPort(http.port());
    QSignalSpy spy(&channel, &TransferChannel::stateChanged);
    // Read the pieces when state 12 is reported, as the forecast does.
    QList<int> pieceSizes;
    QByteArray received;
    connect(&channel, &TransferChannel::stateChanged, this, [&](int state) {
        if (state != TransferState::Completed)
            return;
        for (QString piece = channel.getChunk(1024); !piece.isEmpty();
             piece = channel.getChunk(1024)) {
            pieceSizes << int(piece.size());
            received += piece.toLatin1();
        }
    });
    QVERIFY(channel.execute("GET /fc/zone.html"));
    QTRY_VERIFY_WITH_TIMEOUT(ended(spy), 20000);
    QCOMPARE(states(spy), (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12}));
    QCOMPARE(received, body);
    QCOMPARE(pieceSizes, (QList<int>{1024, 1024, 952}));
    QTRY_VERIFY_WITH_TIMEOUT(http.lines().contains("GET /fc/zone.html"), 5000);
}

void TestTransferChannel::runsWithProductionLimits()
{
    TransferLimits production;
    production.connectSeconds = 30;
    production.serverResponseSeconds = 30;
    production.lowSpeedBytesPerSecond = 100;
    production.lowSpeedSeconds = 60;
    production.maxReceivedBytes = 4 * 1024 * 1024;
    production.sendBufferBytes = 32 * 1024;
    for (auto protocol : {CurlTransferChannel::Protocol::Ftp, CurlTransferChannel::Protocol::Http})
        QVERIFY(CurlTransferChannel(protocol).limits() == production);
}

void TestTransferChannel::limitsEndDeadTransfersOnly_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<TransferLimits>("limits");
    QTest::addColumn<int>("uploadBytes"); // 0: a download
    QTest::addColumn<QString>("because"); // empty: the transfer completes
    const QStringList ftp{"--root", m_root.path(), "--user", kUser, "--password", kPassword};
    // 12 KB at 3 KB/s take 4 s, longer than any limit. It passes the 3 s wait for the final
    // reply only because the send buffer is small: else all of it would still be queued in
    // the kernel when curl hands over the last byte and starts waiting.
    QTest::newRow("upload at 3 KB/s") << "ftpserver.py" << ftp + QStringList{"--read-rate", "3072"}
                                      << shortLimits(2, 3, 1) << 12000 << "";
    QTest::newRow("upload nobody reads") << "ftpserver.py" << ftp + QStringList{"--read-rate", "0"}
                                         << shortLimits(2, 3, 1) << 50000 << "too slow";
    QTest::newRow("silent web server") << "httpserver.py" << QStringList{"--mode", "silent"}
                                       << shortLimits(10, 10, 1) << 0 << "too slow";
    QTest::newRow("endless reply") << "httpserver.py" << QStringList{"--mode", "endless"}
                                   << shortLimits(10, 10, 10) << 0 << "longer than the 4 MiB";
}

void TestTransferChannel::limitsEndDeadTransfersOnly()
{
    QFETCH(QString, script);
    QFETCH(QStringList, args);
    QFETCH(TransferLimits, limits);
    QFETCH(int, uploadBytes);
    QFETCH(QString, because);
    LocalServer server;
    QVERIFY(server.start(script, args));
    const bool upload = uploadBytes > 0;
    CurlTransferChannel channel(upload ? CurlTransferChannel::Protocol::Ftp
                                       : CurlTransferChannel::Protocol::Http);
    channel.setLimits(limits);
    logIn(channel, server.port());
    const QString local = m_local.filePath("limits.bin");
    writeBytes(local, QByteArray(uploadBytes, 'w'));
    QSignalSpy spy(&channel, &TransferChannel::stateChanged);
    QElapsedTimer took;
    took.start();
    QVERIFY(channel.execute(upload ? "PUT " + local + " limits.bin" : QString("GET /fc")));
    QTRY_VERIFY_WITH_TIMEOUT(ended(spy), 30000);
    if (because.isEmpty()) {
        QVERIFY2(states(spy).last() == TransferState::Completed, qPrintable(channel.lastError()));
        QVERIFY(took.elapsed() > 1000 * limits.serverResponseSeconds);
        QCOMPARE(QFileInfo(m_root.filePath("limits.bin")).size(), qint64(uploadBytes));
    } else {
        QCOMPARE(states(spy).last(), int(TransferState::Error));
        QVERIFY2(channel.lastError().contains(because), qPrintable(channel.lastError()));
        QCOMPARE(channel.getChunk(1024), QString()); // nothing of a cut-off reply is kept
    }
}

QTEST_GUILESS_MAIN(TestTransferChannel)
#include "tst_transferchannel.moc"
