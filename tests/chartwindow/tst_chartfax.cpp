// "Fax Graph": the enlarged picture and its fonts, the working files, the number and the send
// through a stand-in efax on PATH to a simulated fax modem, and what is refused.
#include "acquisition/pseudoterminal.h"
#include "acquisition/serialport.h"
#include "charting/chart2d.h"
#include "chartwindow/chartwindowfixture.h"
#include "core/statusboard.h"
#include "fax/efaxdevice.h"
#include "fax/faxdocument.h"
#include "fax/graphfax.h"
#include "simulator/faxmodemsimulator.h"

#include <QAction>
#include <QImageReader>
#include <QtTest>

namespace {

const QString kHeader =
    QStringLiteral("Outdoor temperature and humidity of January 2026 at the station on the hill");

QStringList records()
{
    QStringList rows;
    for (int i = 0; i < 10; ++i)
        rows << QStringLiteral("'1/1/2026 %1:00:00 AM', %2, 50").arg(i + 1).arg(i * 10);
    return rows;
}

// The window, a fax modem on a pseudo-terminal and the sender between them.
struct FaxedWindow
{
    explicit FaxedWindow(const QString &dir)
        : fax(EfaxWiring{dir, [this] { return QStringList{pty.slavePath()}; },
                         [] { return createSerialPort(); }},
              w.clock),
          sender(fax, status, dir)
    {
        pty.open();
        modem = std::make_unique<FaxModemSimulator>(pty.masterFd());
        w.chart.setFaxSender(&sender);
    }
    Window w;
    PseudoTerminal pty;
    std::unique_ptr<FaxModemSimulator> modem;
    StatusBoard status;
    EfaxDevice fax;
    GraphFaxSender sender;
};

} // namespace

class TestChartFax : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_argsFile;

private slots:
    void initTestCase()
    {
        qputenv("PATH", QByteArray(CORVANE_FAKE_EFAX_DIR) + ':' + qgetenv("PATH"));
        m_argsFile = m_dir.filePath("efax-args");
        qputenv("FAKE_EFAX_ARGS", QFile::encodeName(m_argsFile));
    }
    void init()
    {
        for (const QString &name :
             {m_argsFile, m_dir.filePath(FaxLogFileName), m_dir.filePath(GraphPictureName),
              m_dir.filePath(MonoBitmapName), m_dir.filePath(FaxDocumentName)})
            QFile::remove(name);
    }

    void disabledWithoutFaxComponent()
    {
        Window w;
        QVERIFY(!w.chart.action("m_faxgraph")->isEnabled());
    }

    // A long header is drawn at 16 points in the fax, X labels at 14, the first series 2
    // wide; afterwards the window shows them as before.
    void faxPictureFontsAndRestore()
    {
        FaxedWindow f(m_dir.path());
        f.w.open(makeFile(m_dir, "JAN2026.MDB", "Date_Time, Temperature, Humidity", records()));
        f.w.choose("list2", "Temperature");
        f.w.waitShown();
        Chart2D *chart = f.w.chart.chart();
        chart->setHeaderText(kHeader);
        QFont header(QStringLiteral("DejaVu Serif"), 9);
        header.setBold(true);
        chart->setHeaderFont(header);
        chart->setLineWidth(1, 1, 3);
        const QFont footer = chart->footerFont();
        const QFont xLabels = chart->axisLabelFont(ChartAxis::X);
        const QSize onScreen = chart->size();

        const QImage fax = f.w.chart.faxPicture();
        QCOMPARE(fax.size(), QSize(32500 / 15, 25000 / 15));
        QCOMPARE(chart->headerFont(), header);
        QCOMPARE(chart->footerFont(), footer);
        QCOMPARE(chart->axisLabelFont(ChartAxis::X), xLabels);
        QCOMPARE(chart->seriesStyle(1, 1).lineWidth, 3);
        QCOMPARE(chart->size(), onScreen);

        // The same picture as the chart gives with the fax's fonts and width set by hand,
        // and not the one it gives with its own.
        const QImage ownFonts = chart->renderImage(fax.size());
        QVERIFY(ownFonts != fax);
        QFont big = header;
        big.setFamily(QStringLiteral("Arial"));
        big.setPointSize(16);
        chart->setHeaderFont(big);
        QFont f16 = footer;
        f16.setFamily(QStringLiteral("Arial"));
        f16.setPointSize(16);
        chart->setFooterFont(f16);
        QFont f14 = xLabels;
        f14.setFamily(QStringLiteral("Arial"));
        f14.setPointSize(14);
        chart->setAxisLabelFont(ChartAxis::X, f14);
        chart->setLineWidth(1, 1, 2);
        QCOMPARE(chart->renderImage(fax.size()), fax);
    }

    void faxGraph_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<int>("efaxStatus");
        QTest::addColumn<QString>("dialled"); // empty: efax never runs
        QTest::addColumn<QString>("status");
        QTest::newRow("sent") << "555-1234" << 0 << "T5551234"
                              << "The graph was faxed to 555-1234.";
        QTest::newRow("efax fails") << " 555 9876 " << 3 << "T5559876"
                                    << "The fax to 555 9876 failed: efax: done, returning 3";
        QTest::newRow("cancelled") << "" << 0 << ""
                                   << "";
        QTest::newRow("blanks only") << "   " << 0 << ""
                                     << "";
        QTest::newRow("modem command in the number")
            << "555;ATH" << 0 << ""
            << "The graph was not faxed: \"555;ATH\" is not a fax number.";
    }

    void faxGraph()
    {
        QFETCH(QString, number);
        QFETCH(int, efaxStatus);
        QFETCH(QString, dialled);
        QFETCH(QString, status);
        qputenv("FAKE_EFAX_STATUS", QByteArray::number(efaxStatus));
        FaxedWindow f(m_dir.path());
        QSignalSpy finished(&f.fax, &FaxDevice::sendFinished);
        f.w.dialogs.answers << number;
        QVERIFY(f.w.chart.action("m_faxgraph")->isEnabled());
        f.w.chart.action("m_faxgraph")->trigger();

        QCOMPARE(f.w.dialogs.asked, QStringList({"Please enter fax number []"}));
        QCOMPARE(QImageReader(m_dir.filePath(GraphPictureName)).size(), QSize(2166, 1666));
        QCOMPARE(QImage(m_dir.filePath(MonoBitmapName)).depth(), 1);
        QVERIFY(QFileInfo(m_dir.filePath(FaxDocumentName)).size() > 0);
        if (dialled.isEmpty()) {
            QVERIFY(!f.sender.isSending());
            QCOMPARE(f.status.statusText(), status);
            QCOMPARE(f.fax.log().count(FaxLogName::Pending), 0);
            QVERIFY(!QFile::exists(m_argsFile));
            return;
        }
        QCOMPARE(f.status.statusText(), "Faxing the graph to " + number.trimmed());
        QVERIFY(finished.wait(10000));
        QCOMPARE(f.status.statusText(), status);
        QFile args(m_argsFile);
        QVERIFY(args.open(QIODevice::ReadOnly));
        QCOMPARE(
            QString::fromUtf8(args.readAll()).split('\n', Qt::SkipEmptyParts),
            QStringList({"-d", f.pty.slavePath(), "-t", dialled, m_dir.filePath(FaxDocumentName)}));
    }

    // While a fax is going out, or the pager holds the modem, "Fax Graph" makes no new
    // document (efax may be reading the one there) and sends nothing.
    void refusedWhileModemBusy()
    {
        qputenv("FAKE_EFAX_STATUS", "0");
        FaxedWindow f(m_dir.path());
        QSignalSpy finished(&f.fax, &FaxDevice::sendFinished);
        f.w.dialogs.answers << "5551234"
                            << "5550000";
        f.w.chart.action("m_faxgraph")->trigger();
        QVERIFY(f.sender.isSending());
        const QDateTime made = QFileInfo(m_dir.filePath(FaxDocumentName)).lastModified();
        QFile::remove(m_dir.filePath(GraphPictureName));

        f.w.chart.action("m_faxgraph")->trigger();
        QCOMPARE(
            f.status.statusText(),
            QStringLiteral("The graph was not faxed: the fax to 5551234 is still being sent."));
        QCOMPARE(f.w.dialogs.answers, QStringList({"5550000"}));
        QVERIFY(!QFile::exists(m_dir.filePath(GraphPictureName)));
        QCOMPARE(QFileInfo(m_dir.filePath(FaxDocumentName)).lastModified(), made);
        QVERIFY(finished.wait(10000));
        QCOMPARE(f.fax.log().count(FaxLogName::Completed), 1);

        f.sender.setModemBusyCheck([] { return QStringLiteral("the pager is using the modem"); });
        f.w.chart.action("m_faxgraph")->trigger();
        QCOMPARE(f.status.statusText(),
                 QStringLiteral("The graph was not faxed: the pager is using the modem."));
        QCOMPARE(f.w.dialogs.answers, QStringList({"5550000"}));
        QCOMPARE(f.fax.log().count(FaxLogName::Completed), 1);
    }
};

QTEST_MAIN(TestChartFax)
#include "tst_chartfax.moc"
