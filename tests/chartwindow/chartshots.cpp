// Pictures of the chart window for the README, drawn from a month file that the engine logged
// from the simulated console: two chart groups, a zoomed view, a filled area, a candle chart,
// a radar, date/time labels and a page of the automated report (printed to PDF, turned into
// PNG by pdftoppm); and the fax page that "Fax Graph" makes of the first, read back by efax's
// own reader. scripts/screenshots.sh runs it under Xvfb: chartshots FOLDER [FAX-FOLDER].
#include "app/runtime.h"
#include "acquisition/stationlink.h"
#include "charting/chart2d.h"
#include "config/configfile.h"
#include "core/datetimeformat.h"
#include "core/statusboard.h"
#include "fakes/manualclock.h"
#include "fax/efaxdevice.h"
#include "fax/faxdocument.h"
#include "fax/graphfax.h"
#include "logging/monthdatabase.h"
#include "logging/sqlitefile.h"
#include "simulator/simulatedconsole.h"
#include "ui/autograph.h"
#include "ui/chartdialogs.h"
#include "ui/chartmain.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QSqlQuery>
#include <QVariant>
#include <cmath>
#include <cstdio>

namespace {

struct OpenFile final : ChartDialogs
{
    QString path;
    void chooseDatabase(QWidget *, const QString &,
                        std::function<void(const QString &)> chosen) override
    {
        chosen(path);
    }
    void askYesNo(QWidget *, const QString &, std::function<void(bool)> answered) override
    {
        answered(false);
    }
    void askText(QWidget *, const QString &, const QString &,
                 std::function<void(const QString &)> answered) override
    {
        answered(QString());
    }
    void tell(QWidget *, const QString &message) override
    {
        std::fprintf(stderr, "chartshots: %s\n", qPrintable(message));
    }
    // The pictures need no files, colours or printers: every such question is cancelled.
    void chooseFile(QWidget *, bool, const QString &, const QString &,
                    std::function<void(const QString &)> chosen) override
    {
        chosen(QString());
    }
    void chooseColor(QWidget *, const QColor &, std::function<void(const QColor &)> chosen) override
    {
        chosen(QColor());
    }
    // The automated report prints to this PDF file.
    QString pdf;
    void choosePrinter(QWidget *, QPrinter *printer, std::function<void(bool)> answered) override
    {
        if (!pdf.isEmpty()) {
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(pdf);
        }
        answered(!pdf.isEmpty());
    }
};

// Days of the engine on the manual clock, fed by the simulated console and logging every
// ten minutes into the program directory `home`: the month file a user would have. Returns it.
QString simulateMonth(const QString &home, const QDateTime &start, int days)
{
    qputenv("CORVANE_HOME", QFile::encodeName(home));
    Configuration c;
    c.LoggingInterval = 10;
    if (!saveConfiguration(configurationFilePath(), c).ok())
        return {};
    ManualClock clock(start);
    RunOptions options;
    options.simulate = true;
    Runtime runtime(clock, options);
    runtime.startUp();
    if (!runtime.stationPortOpen())
        return {};
    const QDateTime end = start.addDays(days);
    while (clock.now() < end) {
        // A round of the five groups crosses the pseudo-terminal; a logging pass writes on the
        // clock alone.
        const qint64 decoded = runtime.stationLink().counters().framesDecoded + 5;
        clock.advanceMs(5 * SimulatedConsole::FrameIntervalMs);
        for (int turn = 0; turn < 1000 && runtime.stationLink().counters().framesDecoded < decoded;
             ++turn)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    runtime.shutDown();
    return MonthDatabase(home, start.date());
}

// The daily high, low, first and last temperature of the simulated records, for the candles.
bool addDailyTable(const QString &path)
{
    SqliteFile db;
    if (!db.open(path, SqliteFile::Mode::ReadWrite).ok())
        return false;
    QSqlQuery q(db.database());
    if (!q.exec("SELECT \"Date_Time\", \"Temperature\" FROM \"Outdoor Data\" ORDER BY rowid"))
        return false;
    struct Day
    {
        double high, low, open, close;
    };
    QMap<QDate, Day> days;
    while (q.next()) {
        const QDate d = parseGeneralDate(q.value(0).toString()).date();
        const double t = q.value(1).toDouble();
        auto it = days.find(d);
        if (it == days.end())
            days.insert(d, {t, t, t, t});
        else
            *it = {std::max(it->high, t), std::min(it->low, t), it->open, t};
    }
    q.finish();
    if (days.isEmpty() || !db.exec("BEGIN").ok() ||
        !db.exec("CREATE TABLE \"Daily Temperature\" (\"Date\" TEXT, \"High\" REAL, \"Low\" "
                 "REAL, \"Open\" REAL, \"Close\" REAL)")
             .ok())
        return false;
    QSqlQuery d(db.database());
    d.prepare("INSERT INTO \"Daily Temperature\" VALUES (?, ?, ?, ?, ?)");
    for (auto it = days.cbegin(); it != days.cend(); ++it) {
        for (const QVariant &v : {QVariant(shortDate(it.key())), QVariant(it->high),
                                  QVariant(it->low), QVariant(it->open), QVariant(it->close)})
            d.addBindValue(v);
        if (!d.exec())
            return false;
    }
    d.finish();
    return db.exec("COMMIT").ok();
}

// The fax document decoded by efix (package efax) into a picture of the page as it would be
// printed: 1728 dots across, 2156 lines.
bool saveFaxPage(const QString &document, const QString &picture)
{
    QProcess efix;
    efix.start(QStringLiteral("efix"), {"-i", "tiffg3", "-o", "pbm", document});
    if (!efix.waitForFinished(30000) || efix.exitCode() != 0) {
        std::fprintf(stderr, "chartshots: efix could not read %s\n", qPrintable(document));
        return false;
    }
    const QImage page = QImage::fromData(efix.readAllStandardOutput(), "PBM");
    return !page.isNull() && page.save(picture);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    // A fixed, plain folder rather than a random one, since the window shows the file's path.
    struct DemoFolder
    {
        QString path = QDir::temp().filePath(QStringLiteral("corvane-demo"));
        DemoFolder() { QDir(path).removeRecursively(), QDir().mkpath(path); }
        ~DemoFolder() { QDir(path).removeRecursively(); }
    } demo;
    const QString &folder = demo.path;
    OpenFile dialogs;
    const QDateTime start(QDate(2026, 1, 12), QTime(0, 0));
    dialogs.path = simulateMonth(folder, start, 10);
    if (dialogs.path.isEmpty() || !addDailyTable(dialogs.path)) {
        std::fprintf(stderr, "chartshots: the month file was not written\n");
        return 1;
    }

    ManualClock clock;
    ChartMain window(clock, dialogs);
    window.setDatabaseFolder(folder);
    window.resize(1280, 760);
    window.show();
    Chart2D *chart = window.chart();
    const auto settle = [&] {
        clock.advanceMs(1000); // the wait window's second
        QApplication::processEvents();
    };
    const auto save = [&](QWidget *w, const char *name) {
        QApplication::processEvents();
        return w->grab().save(out.filePath(QString::fromLatin1(name)));
    };

    auto *tables = window.centralWidget()->findChild<QComboBox *>("List1");
    const auto chooseTable = [&](const char *name) {
        tables->setCurrentIndex(tables->findText(QString::fromLatin1(name)));
        window.chooseTable(tables->currentIndex());
    };
    window.SelectDataSource();
    chooseTable("Outdoor Data"); // the second table is "Indoor Data" here
    window.addSeriesFromDialog("Temperature");
    window.addSeriesFromDialog("Dewpoint");
    settle();
    window.switchActiveGroup(1);
    window.addSeriesFromDialog("Humidity");
    settle();
    chart->setHeaderText("January 12 to 21");
    chart->setAxisTitle(ChartAxis::X, "Record");
    bool ok = save(&window, "chart-window.png");

    if (argc > 2) {
        StatusBoard status;
        EfaxDevice fax(EfaxWiring{folder, {}, {}}, clock);
        GraphFaxSender sender(fax, status, folder);
        window.setFaxSender(&sender);
        window.action(QStringLiteral("m_faxgraph"))->trigger(); // no number: nothing is sent
        const QDir faxOut(QString::fromLocal8Bit(argv[2]));
        QDir().mkpath(faxOut.path());
        ok = saveFaxPage(QDir(folder).filePath(FaxDocumentName),
                         faxOut.filePath(QStringLiteral("month-graph-fax.png"))) &&
             ok;
        window.setFaxSender(nullptr);
    }

    chart->setAxisMinimum(ChartAxis::X, 150);
    chart->setAxisMaximum(ChartAxis::X, 220);
    ok = save(chart, "chart-zoomed.png") && ok;
    chart->setAxisMinimum(ChartAxis::X, std::nullopt);
    chart->setAxisMaximum(ChartAxis::X, std::nullopt);

    while (chart->boundFieldCount(2) > 0)
        chart->removeBoundField(2, 1);
    chart->setAxisTitle(ChartAxis::Y2, QString());
    chart->setChartType(1, ChartType::Area);
    chart->setFillPattern(1, 1, FillPattern::Percent50);
    chart->setFillPattern(1, 2, FillPattern::Solid);
    ok = save(chart, "chart-area.png") && ok;

    window.switchActiveGroup(0);
    chooseTable("Daily Temperature");
    window.replaceSeries("High");
    settle();
    for (const char *f : {"Low", "Open", "Close"})
        window.addSeries(f);
    settle();
    chart->setAxisTitle(ChartAxis::Y, "Temperature");
    chart->setHeaderText("January, daily");
    chart->setChartType(1, ChartType::Candle);
    ok = save(chart, "chart-candle.png") && ok;

    window.replaceSeries("High");
    settle();
    window.addSeries("Low");
    settle();
    chart->setChartType(1, ChartType::Radar);
    chart->setSeriesLabels(1, true);
    ok = save(chart, "chart-radar.png") && ok;

    // Date/time labels on two series of the month.
    chooseTable("Outdoor Data");
    window.replaceSeries("Temperature");
    settle();
    window.addSeries("Dewpoint");
    settle();
    chart->setChartType(1, ChartType::Plot);
    chart->setAxisTitle(ChartAxis::Y, "Temperature & Dewpoint");
    chart->setAxisTitle(ChartAxis::X, "Date/Time");
    chart->setHeaderText("January 12 to 21");
    ok = window.showDateTimeLabels(7) && save(chart, "chart-datetime.png") && ok;

    // One page of the automated report over a folder of its own.
    const QString reports = QDir(folder).filePath(QStringLiteral("reports"));
    QDir().mkpath(reports);
    if (!QFile::copy(dialogs.path, QDir(reports).filePath(QFileInfo(dialogs.path).fileName())))
        return 1;
    AutoGraph *report = window.showAutoGraph();
    report->setFolder(reports);
    const auto select = [&](const char *list, const char *field) {
        auto *l = report->findChild<QListWidget *>(QString::fromLatin1(list));
        for (QListWidgetItem *item : l->findItems(QString::fromLatin1(field), Qt::MatchExactly))
            item->setSelected(true);
    };
    select("GFieldsY", "Temperature");
    select("GFieldsY", "Dewpoint");
    select("GFieldsY2", "Humidity");
    report->findChild<QLineEdit *>("AutoHeader")->setText("Indoors, January 12 to 21");
    for (const char *check : {"Check1", "Check2", "Check3"})
        report->findChild<QCheckBox *>(check)->setChecked(true);
    report->findChildren<QRadioButton *>("Option1").at(1)->setChecked(true); // "Fit To Page"
    dialogs.pdf = QDir(folder).filePath(QStringLiteral("report.pdf"));
    report->printReports();
    for (int i = 0; i < 20 && report->isPrinting(); ++i)
        settle();
    QProcess pdftoppm;
    pdftoppm.start("pdftoppm", {"-r", "80", "-png", "-singlefile", dialogs.pdf,
                                out.filePath(QStringLiteral("report-page"))});
    ok = pdftoppm.waitForFinished(60000) && pdftoppm.exitCode() == 0 && ok;

    // "Open Range..." over the logged month, in a window of its own: the records on a date axis.
    ChartMain ranged(clock, dialogs);
    ranged.setDatabaseFolder(folder);
    ranged.resize(1280, 760);
    ranged.show();
    ranged.openRange(start.date(), start.date(), QStringLiteral("Outdoor Data"));
    settle();
    ranged.replaceSeries("Temperature");
    settle();
    ranged.addSeries("Dewpoint");
    settle();
    ranged.chart()->setHeaderText("January 2026 through Open Range");
    ranged.chart()->setAxisTitle(ChartAxis::Y, "Temperature & Dewpoint");
    ok = save(&ranged, "chart-range.png") && ok;
    return ok ? 0 : 1;
}
