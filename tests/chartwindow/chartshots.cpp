// Pictures of the chart window for the README, drawn from a generated month file: two chart
// groups, a zoomed view, a filled area, a candle chart and a radar; and the fax page that
// "Fax Graph" makes of the first, read back by efax's own reader. scripts/screenshots.sh runs
// it under Xvfb: chartshots FOLDER [FAX-FOLDER].
#include "charting/chart2d.h"
#include "core/datetimeformat.h"
#include "core/statusboard.h"
#include "fakes/manualclock.h"
#include "fax/efaxdevice.h"
#include "fax/faxdocument.h"
#include "fax/graphfax.h"
#include "logging/monthdatabase.h"
#include "logging/sqlitefile.h"
#include "ui/chartdialogs.h"
#include "ui/chartmain.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QProcess>
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
    void choosePrinter(QWidget *, QPrinter *, std::function<void(bool)> answered) override
    {
        answered(false);
    }
};

// Three days of ten-minute records with a daily swing, and a table of daily figures.
bool writeMonth(const QString &path)
{
    if (!createLogTemplate(path).ok())
        return false;
    SqliteFile db;
    if (!db.open(path, SqliteFile::Mode::ReadWrite).ok() || !db.exec("BEGIN").ok())
        return false;
    QSqlQuery q(db.database());
    q.prepare("INSERT INTO \"Outdoor Data\" (\"Date_Time\", \"Temperature\", \"Humidity\", "
              "\"Dewpoint\", \"Average Wind Speed\", \"SeaLevel Barometric Pressure\") "
              "VALUES (?, ?, ?, ?, ?, ?)");
    const QDateTime start(QDate(2026, 1, 12), QTime(0, 0));
    for (int i = 0; i < 3 * 144; ++i) {
        const double day = 2 * M_PI * (i - 54) / 144.0; // warmest in the afternoon
        const double t = 38 + 11 * std::sin(day) + 3 * std::sin(i / 37.0);
        const double h = 72 - 18 * std::sin(day) + 4 * std::cos(i / 23.0);
        q.addBindValue(generalDate(start.addSecs(600 * i)));
        q.addBindValue(std::round(t * 10) / 10);
        q.addBindValue(std::round(h));
        q.addBindValue(std::round((t - (100 - h) / 5) * 10) / 10);
        q.addBindValue(std::round((6 + 5 * std::sin(i / 17.0) * std::sin(day)) * 10) / 10);
        q.addBindValue(std::round((30.05 + 0.2 * std::sin(i / 90.0)) * 100) / 100);
        if (!q.exec())
            return false;
    }
    q.finish();
    if (!db.exec("CREATE TABLE \"Daily Temperature\" (\"Date\" TEXT, \"High\" REAL, \"Low\" "
                 "REAL, \"Open\" REAL, \"Close\" REAL)")
             .ok())
        return false;
    QSqlQuery d(db.database());
    d.prepare("INSERT INTO \"Daily Temperature\" VALUES (?, ?, ?, ?, ?)");
    double close = 35;
    for (int day = 1; day <= 31; ++day) {
        const double open = close;
        close = 36 + 8 * std::sin(day / 4.0) + 3 * std::cos(day * 1.7);
        d.addBindValue(shortDate(QDate(2026, 1, day)));
        d.addBindValue(std::round(std::max(open, close) + 4 + 2 * std::sin(day)));
        d.addBindValue(std::round(std::min(open, close) - 5 - 2 * std::cos(day)));
        d.addBindValue(std::round(open));
        d.addBindValue(std::round(close));
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
    dialogs.path = QDir(folder).filePath(QStringLiteral("JAN2026.MDB"));
    if (!writeMonth(dialogs.path)) {
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
    chart->setHeaderText("January 12 to 14");
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
    return ok ? 0 : 1;
}
