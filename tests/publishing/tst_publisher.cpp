// The publishing pass on a manual clock with recording channels.
#include "acquisition/readingsrecord.h"
#include "config/configuration.h"
#include "core/statusboard.h"
#include "fakes/filebytes.h"
#include "fakes/manualclock.h"
#include "publishing/publisher.h"
#include "publishing/publishpass.h"
#include "recordingchannel.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Rig
{
    explicit Rig(const Configuration &c) : config(c) {}
    Configuration config;
    ManualClock clock;
    ReadingsRecord readings;
    StatusBoard status;
    RecordingChannel inet1, inet2, inet3;
    Publisher publisher{clock, config, readings, status, inet1, inet2, inet3};
};

// One pass run to its end: page 2, when there is one, after 10 s on the manual clock.
void runPass(Rig &rig)
{
    std::unique_ptr<PublishPass> pass = rig.publisher.createPass();
    pass->start();
    rig.clock.advanceMs(PublishPass::SecondPageDelayMs);
    QVERIFY(!pass->isRunning());
}

} // namespace

class TestPublisher : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void secondPageOnlyWithBothNames_data();
    void secondPageOnlyWithBothNames();
    void secondPageRefusedWhileBusy();
    void abandonedPassStopsBeforePageTwo();
    void putTextsExact_data();
    void putTextsExact();
    void hangupArmedOnlyWithAutoDisconnect_data();
    void hangupArmedOnlyWithAutoDisconnect();
    void ftpSettingsReachBothChannels_data();
    void ftpSettingsReachBothChannels();
    void graphUploadDoneOnInet3();

private:
    QTemporaryDir m_dir;
    Configuration m_config;
};

void TestPublisher::init()
{
    QVERIFY(m_dir.isValid());
    m_config = Configuration();
    m_config.TemplateFile1 = m_dir.filePath("one.tpl");
    m_config.OutputFile1 = m_dir.filePath("one.html");
    m_config.UploadPath = QStringLiteral("index.html");
    m_config.TemplateFile2 = m_dir.filePath("two.tpl");
    m_config.OutputFile2 = m_dir.filePath("two.html");
    m_config.UploadPath2 = QStringLiteral("two.html");
    m_config.NwsRemoteHost = QStringLiteral("forecast.example");
    m_config.NwsDownloadPath = QStringLiteral("/fc/today.html");
    for (const auto &[name, text] : {std::pair{"one.tpl", "T=*TPO* wind *CWDA* *D/T*"},
                                     std::pair{"two.tpl", "H=*HMO* *AWDA* *D/T*"}}) {
        QFile f(m_dir.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
}

void TestPublisher::secondPageOnlyWithBothNames_data()
{
    QTest::addColumn<QString>("template2");
    QTest::addColumn<QString>("output2");
    QTest::addColumn<bool>("secondPage");
    const auto row = [](const char *name, const char *templ, const char *output, bool second) {
        QTest::newRow(name) << QString(templ) << QString(output) << second;
    };
    row("both set", "two.tpl", "two.html", true);
    row("template empty", "", "two.html", false);
    row("output empty", "two.tpl", "", false);
    row("template one character", "t", "two.html", false);
    row("output one character", "two.tpl", "o", false);
    row("both two characters", "tt", "oo", true);
}

void TestPublisher::secondPageOnlyWithBothNames()
{
    QFETCH(QString, template2);
    QFETCH(QString, output2);
    QFETCH(bool, secondPage);
    Configuration c = m_config;
    c.TemplateFile2 = template2.size() > 2 ? m_dir.filePath(template2) : template2;
    c.OutputFile2 = output2.size() > 2 ? m_dir.filePath(output2) : output2;
    Rig rig(c);
    rig.inet1.finishOnExecute = 12; // uploads end at once
    rig.readings.setText("OutdoorTemperature", " 72.5 ");
    rig.readings.setText("OutdoorHumidity", "45");
    rig.readings.setText("GustDirection", "95");
    rig.readings.setText("AverageDirection", "300");
    const QDateTime start = rig.clock.now();

    std::unique_ptr<PublishPass> pass = rig.publisher.createPass();
    QSignalSpy finished(pass.get(), &Job::finished);
    pass->start();
    QCOMPARE(rig.inet1.operations.size(), 1);
    if (secondPage) {
        // Page 2 and the forecast wait their 10 s; the pass runs on meanwhile.
        rig.clock.advanceMs(PublishPass::SecondPageDelayMs - 1);
        QCOMPARE(rig.inet1.operations.size(), 1);
        QCOMPARE(rig.inet2.operations.size(), 0);
        QCOMPARE(finished.size(), 0);
        rig.readings.setText("AverageDirection", "90"); // page 2 keeps the pass's words
        rig.clock.advanceMs(1);
    }
    QCOMPARE(finished.size(), 1);
    QCOMPARE(rig.inet1.operations.size(), secondPage ? 2 : 1);
    QCOMPARE(readBytes(c.OutputFile1), QByteArray("T=72.5 wind East 1/15/2026 12:00:00 PM\r\n"));
    if (secondPage && c.OutputFile2.size() > 2) {
        // Same compass words as page 1, the time of its own render.
        QCOMPARE(readBytes(c.OutputFile2), QByteArray("H=45 NorthWest 1/15/2026 12:00:10 PM\r\n"));
    }
    // The forecast is asked for after the pages, with or without page 2.
    QCOMPARE(rig.inet2.operations, QStringList{"GET /fc/today.html"});
    QCOMPARE(rig.inet2.hostAtExecute, QStringList{"forecast.example"});
    QCOMPARE(rig.inet2.userName, QString());
    QCOMPARE(start.secsTo(rig.clock.now()), secondPage ? 10 : 0);
}

void TestPublisher::secondPageRefusedWhileBusy()
{
    Rig rig(m_config);
    rig.publisher.PublishWebPages(); // "Upload Web Page Now"; page 1 never finishes
    rig.clock.advanceSeconds(10);
    QCOMPARE(rig.inet1.attempts.size(), 2);
    QCOMPARE(rig.inet1.operations.size(), 1);
    QVERIFY(QFile::exists(m_config.OutputFile2)); // rendered all the same
    QCOMPARE(rig.inet2.operations.size(), 1);     // and the pass went on
}

void TestPublisher::abandonedPassStopsBeforePageTwo()
{
    Configuration c = m_config;
    c.AutoDisconnect = true;
    Rig rig(c);
    int hangupsArmed = 0;
    rig.publisher.setHangupArm([&] { ++hangupsArmed; });
    std::unique_ptr<PublishPass> pass = rig.publisher.createPass();
    pass->start();
    pass->abandon();
    rig.clock.advanceSeconds(60);
    QCOMPARE(rig.inet1.attempts.size(), 1);
    QCOMPARE(rig.inet2.attempts.size(), 0);
    QCOMPARE(hangupsArmed, 0);
}

void TestPublisher::putTextsExact_data()
{
    QTest::addColumn<QString>("uploadPath");
    QTest::newRow("plain") << "index.html";
    QTest::newRow("absolute") << "/public_html/index.html";
    QTest::newRow("blanks kept") << " my site/index.html ";
    QTest::newRow("empty") << "";
}

void TestPublisher::putTextsExact()
{
    QFETCH(QString, uploadPath);
    Configuration c = m_config;
    c.UploadPath = uploadPath;
    c.UploadPath2 = uploadPath + "2";
    Rig rig(c);
    rig.inet1.finishOnExecute = 12;
    runPass(rig);
    QCOMPARE(rig.inet1.operations, QStringList({"PUT " + c.OutputFile1 + " " + uploadPath,
                                                "PUT " + c.OutputFile2 + " " + uploadPath + "2"}));
}

void TestPublisher::hangupArmedOnlyWithAutoDisconnect_data()
{
    QTest::addColumn<bool>("autoDisconnect");
    QTest::newRow("set") << true;
    QTest::newRow("clear") << false;
}

void TestPublisher::hangupArmedOnlyWithAutoDisconnect()
{
    QFETCH(bool, autoDisconnect);
    Configuration c = m_config;
    c.AutoDisconnect = autoDisconnect;
    c.TemplateFile2.clear();
    Rig rig(c);
    QList<int> forecastRequestsWhenArmed;
    rig.publisher.setHangupArm(
        [&] { forecastRequestsWhenArmed << int(rig.inet2.operations.size()); });
    rig.publisher.PublishWebPages();
    QCOMPARE(forecastRequestsWhenArmed, autoDisconnect ? QList<int>{1} : QList<int>{});
}

void TestPublisher::ftpSettingsReachBothChannels_data()
{
    QTest::addColumn<QString>("remotePort");
    QTest::addColumn<int>("port");
    QTest::newRow("number") << "2121" << 2121;
    QTest::newRow("empty") << "" << 21;
    QTest::newRow("out of range") << "70000" << 21;
}

void TestPublisher::ftpSettingsReachBothChannels()
{
    QFETCH(QString, remotePort);
    QFETCH(int, port);
    Configuration c = m_config;
    c.RemoteHost = "first.example";
    Rig rig(c);
    QCOMPARE(rig.inet3.host, QString("first.example")); // given at start-up
    QCOMPARE(rig.inet2.port, 80);

    Configuration saved = c;
    saved.RemoteHost = "second.example";
    saved.RemotePort = remotePort;
    saved.UserName = "user";
    saved.Password = "secret";
    rig.publisher.applyFtpSettings(saved);
    for (RecordingChannel *ftp : {&rig.inet1, &rig.inet3}) {
        QCOMPARE(ftp->host, QString("second.example"));
        QCOMPARE(ftp->port, port);
        QCOMPARE(ftp->userName, QString("user"));
        QCOMPARE(ftp->password, QString("secret"));
    }
    QCOMPARE(rig.inet2.host, QString()); // the forecast channel keeps its own
}

void TestPublisher::graphUploadDoneOnInet3()
{
    Rig rig(m_config);
    QSignalSpy done(&rig.publisher, &Publisher::graphUploadDone);
    QVERIFY(rig.inet3.execute("PUT graph.jpg graph.jpg"));
    rig.inet3.finish(11);
    QCOMPARE(done.size(), 0);
    QVERIFY(rig.inet3.execute("PUT graph.jpg graph.jpg"));
    rig.inet3.finish(12);
    QCOMPARE(done.size(), 1);
    QCOMPARE(rig.status.statusText().left(44),
             QString("Corvane has processed the request and all da"));
}

QTEST_GUILESS_MAIN(TestPublisher)
#include "tst_publisher.moc"
