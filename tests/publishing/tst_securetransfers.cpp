// FTPS and SFTP uploads against local servers: certificates verified against the system's
// CAs, a CA file or a pinned key; SSH host keys recorded on first contact, a changed one
// refused.
#include "fakes/filebytes.h"
#include "localserver.h"
#include "publishing/curltransferchannel.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <pwd.h>
#include <unistd.h>

namespace {

const QString kUser = QStringLiteral("weather");
const QString kPassword = QStringLiteral("pa55-Zq7!word");

// Runs one upload to its end (state -1 if it never came): the last state, and the reason
// when it failed.
struct Outcome
{
    int state = -1;
    QString reason;
    QStringList notes;
};

Outcome upload(CurlTransferChannel &channel, const QString &local, const QString &remote)
{
    Outcome out;
    QObject::connect(&channel, &TransferChannel::failed, [&](const QString &r) { out.reason = r; });
    QObject::connect(&channel, &TransferChannel::noted, [&](const QString &n) { out.notes << n; });
    QObject::connect(&channel, &TransferChannel::stateChanged, [&](int s) {
        if (s == TransferState::Error || s == TransferState::Completed)
            out.state = s;
    });
    if (channel.execute("PUT " + local + " " + remote) &&
        !QTest::qWaitFor([&] { return out.state != -1; }, 20000))
        out.reason = QStringLiteral("no end within 20 s");
    QTest::qWait(0); // failed() follows state 11 in the same event
    channel.disconnect();
    return out;
}

QString currentUser()
{
    const passwd *pw = ::getpwuid(::geteuid());
    return pw ? QString::fromLocal8Bit(pw->pw_name) : QString();
}

} // namespace

Q_DECLARE_METATYPE(TransferTrust)

class TstSecureTransfers : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void ftpsVerifiesTheServer_data();
    void ftpsVerifiesTheServer();
    void sftpTrustsFirstKeyAndRefusesAChangedOne();

private:
    QTemporaryDir m_work;
    QString m_page;
    LocalServer m_ftps;
};

void TstSecureTransfers::initTestCase()
{
    QDir work(m_work.path());
    QVERIFY(work.mkpath("ftp-root") && work.mkpath("tls") && work.mkpath("ssh"));
    m_page = work.filePath("page.html");
    writeBytes(m_page, "<html>secure</html>\r\n");
    QVERIFY(
        m_ftps.start("ftpserver.py", {"--root", work.filePath("ftp-root"), "--user", kUser,
                                      "--password", kPassword, "--tls-dir", work.filePath("tls")}));
}

void TstSecureTransfers::ftpsVerifiesTheServer_data()
{
    QTest::addColumn<TransferTrust>("trust");
    QTest::addColumn<QString>("because"); // empty: the upload completes
    const QString tls = m_work.filePath("tls/");
    const QString pin = QString::fromLatin1(readBytes(tls + "pin.txt"));
    const QString wrongPin = "sha256//" + QByteArray(32, '\x7f').toBase64();
    const auto row = [](const char *name, const QString &ca, const QString &pin,
                        const char *because) {
        QTest::newRow(name) << TransferTrust{QString(), ca, pin} << QString(because);
    };
    row("system CAs do not know the test CA", "", "", "certificate");
    row("the CA that signed it", tls + "ca.pem", "", "");
    row("a CA that did not", tls + "other-ca.pem", "", "certificate");
    row("its key pinned, no CA", "", pin, "");
    row("another key pinned", "", wrongPin, "public key");
    row("the right CA does not excuse a wrong pin", tls + "ca.pem", wrongPin, "public key");
}

void TstSecureTransfers::ftpsVerifiesTheServer()
{
    QFETCH(TransferTrust, trust);
    QFETCH(QString, because);
    const QString arrived = m_work.filePath("ftp-root/index.html");
    QFile::remove(arrived);
    CurlTransferChannel channel(CurlTransferChannel::Protocol::Ftp);
    channel.setHost("ftps://127.0.0.1");
    channel.setPort(m_ftps.port());
    channel.setUserName(kUser);
    channel.setPassword(kPassword);
    channel.setTrust(trust);

    const Outcome out = upload(channel, m_page, "index.html");
    if (because.isEmpty()) {
        QVERIFY2(out.state == TransferState::Completed, qPrintable(out.reason));
        QCOMPARE(readBytes(arrived), readBytes(m_page));
    } else {
        QCOMPARE(out.state, int(TransferState::Error));
        QVERIFY2(out.reason.contains(because), qPrintable(out.reason));
        QVERIFY(!QFile::exists(arrived));
    }
}

void TstSecureTransfers::sftpTrustsFirstKeyAndRefusesAChangedOne()
{
    const QString ssh = m_work.filePath("ssh/");
    LocalServer sshd;
    QVERIFY(sshd.start("sshserver.py", {"--dir", ssh}));
    qputenv("HOME", QFile::encodeName(ssh + "home")); // where curl finds the login key
    const QString knownHosts = m_work.filePath("known_hosts");
    const QString target = ssh + "arrived.html";

    CurlTransferChannel channel(CurlTransferChannel::Protocol::Ftp);
    channel.setHost("sftp://127.0.0.1");
    channel.setPort(sshd.port());
    channel.setUserName(currentUser());
    channel.setPassword(kPassword); // unused: the server takes the key only

    // No known_hosts to check against: refused before connecting.
    Outcome out = upload(channel, m_page, target);
    QCOMPARE(out.state, int(TransferState::Error));
    QVERIFY2(out.reason.contains("known_hosts"), qPrintable(out.reason));

    // First contact: the key is recorded, and said so.
    channel.setTrust({knownHosts, QString(), QString()});
    out = upload(channel, m_page, target);
    QVERIFY2(out.state == TransferState::Completed, qPrintable(out.reason));
    QCOMPARE(out.notes, QStringList{"Corvane recorded the host key of sftp://127.0.0.1:" +
                                    QString::number(sshd.port()) + " on first contact."});
    const QByteArray hostKey = readBytes(ssh + "host_key.pub").split(' ').value(1);
    QVERIFY(readBytes(knownHosts).contains(hostKey));
    QCOMPARE(readBytes(target), readBytes(m_page));

    // Known now: nothing more to say.
    out = upload(channel, m_page, target);
    QVERIFY2(out.state == TransferState::Completed, qPrintable(out.reason));
    QVERIFY(out.notes.isEmpty());

    // The server's key is no longer the one recorded.
    QFile::remove(target);
    const QByteArray other = readBytes(ssh + "other_host_key.pub").split(' ').value(1);
    writeBytes(knownHosts, "127.0.0.1 ssh-ed25519 " + other + "\n");
    out = upload(channel, m_page, target);
    QCOMPARE(out.state, int(TransferState::Error));
    QVERIFY2(out.reason.endsWith(": host key changed"), qPrintable(out.reason));
    QVERIFY(!QFile::exists(target));
    QVERIFY(readBytes(knownHosts).contains(other)); // the file is left to the user
}

QTEST_GUILESS_MAIN(TstSecureTransfers)
#include "tst_securetransfers.moc"
