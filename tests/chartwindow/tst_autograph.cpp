// "Automated Reporting": a page per month file with the same settings, files that do not
// open, the print format, and the field lists during a run.
#include "charting/chart2d.h"
#include "chartwindow/chartwindowfixture.h"
#include "ui/autograph.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

const QString kColumns = QStringLiteral("Date_Time, Temperature, Humidity");

// A month file whose first table, "Indoor Data", holds 288 five-minute records of
// January 1st; "Outdoor Data" is empty.
QString makeMonth(const QTemporaryDir &dir, const QString &name, int offset)
{
    const QString path = dir.filePath(name);
    SqliteFile db;
    if (!db.open(path, SqliteFile::Mode::Create).ok())
        return {};
    QStringList sql = {QStringLiteral("CREATE TABLE \"Indoor Data\" (%1)").arg(kColumns),
                       QStringLiteral("CREATE TABLE \"Outdoor Data\" (%1)").arg(kColumns),
                       QStringLiteral("BEGIN")};
    const QDateTime start(QDate(2026, 1, 1), QTime(0, 0));
    for (int i = 0; i < 288; ++i)
        sql << QStringLiteral("INSERT INTO \"Indoor Data\" VALUES ('%1', %2, %3)")
                   .arg(start.addSecs(300 * i).toString("M/d/yyyy h:mm:ss AP"))
                   .arg(offset + i % 10)
                   .arg(50 + i % 7);
    sql << QStringLiteral("COMMIT");
    for (const QString &s : sql) {
        if (!db.exec(s).ok())
            return {};
    }
    return path;
}

int pdfPages(const QString &pdf)
{
    QProcess info;
    info.start("pdfinfo", {pdf});
    if (!info.waitForFinished(30000) || info.exitCode() != 0)
        return -1;
    const QString out = QString::fromLocal8Bit(info.readAllStandardOutput());
    const QRegularExpressionMatch m = QRegularExpression("Pages:\\s+(\\d+)").match(out);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// Pictures drawn on the pages: format 3 draws one, format 4 none.
int pdfImages(const QString &pdf)
{
    QProcess images;
    images.start("pdfimages", {"-list", pdf});
    if (!images.waitForFinished(30000) || images.exitCode() != 0)
        return -1;
    // Two heading lines, then a line per picture.
    return int(QString::fromLocal8Bit(images.readAllStandardOutput())
                   .split('\n', Qt::SkipEmptyParts)
                   .size()) -
           2;
}

struct Report
{
    Window w;
    AutoGraph *report = nullptr;

    template <typename W> W *find(const char *name) const
    {
        return report->findChild<W *>(QString::fromLatin1(name));
    }
    void open(const QString &firstFile)
    {
        w.open(firstFile);
        report = w.chart.showAutoGraph();
    }
    void select(const char *list, const QString &field)
    {
        auto *l = find<QListWidget>(list);
        l->findItems(field, Qt::MatchExactly).value(0)->setSelected(true);
    }
    // "Print Reports", the clock moving on until the run ends.
    bool print(const QString &pdf)
    {
        w.dialogs.pdf = pdf;
        find<QPushButton>("Command3")->click();
        for (int i = 0; i < 100 && report->isPrinting(); ++i)
            w.clock.advanceMs(1000);
        return !report->isPrinting();
    }
};

// What a page shows, read when the run moves to the next file and at the end.
struct Page
{
    QStringList group1, group2;
    QString yTitle, y2Title, header, footer;
    bool seriesLabels = false;
    DrawingOrder order2 = DrawingOrder::Back;
    QVector<std::pair<double, QString>> labels;
    bool operator==(const Page &o) const
    {
        return group1 == o.group1 && group2 == o.group2 && yTitle == o.yTitle &&
               y2Title == o.y2Title && header == o.header &&
               footer.startsWith("Minimum=") == o.footer.startsWith("Minimum=") &&
               seriesLabels == o.seriesLabels && order2 == o.order2 &&
               labels.size() == o.labels.size();
    }
};

Page pageOf(Chart2D *c)
{
    return {c->boundFields(1),           c->boundFields(2),  c->axisTitle(ChartAxis::Y),
            c->axisTitle(ChartAxis::Y2), c->headerText(),    c->footerText(),
            c->seriesLabels(1),          c->drawingOrder(2), c->valueLabels(ChartAxis::X)};
}

} // namespace

class TestAutoGraph : public QObject
{
    Q_OBJECT

private slots:
    void controls();
    void pageForEachFile();
    void unreadableFilesAreSkipped();
    void fieldListsFollowTheChart();
    void tooFewLabelsAreRefused();
    void fineResolutionPageHoldsTheChart();
};

void TestAutoGraph::controls()
{
    QTemporaryDir dir;
    Report r;
    r.open(makeMonth(dir, "JAN2026.MDB", 0));
    const QStringList names = {"Drive1",     "Dir1",     "File1",      "GFieldsY", "GFieldsY2",
                               "AutoHeader", "Text1",    "NumXlabels", "Check1",   "Check2",
                               "Check3",     "Command3", "Command4"};
    for (const QString &name : names)
        QVERIFY2(r.report->findChild<QWidget *>(name), qPrintable(name));
    QCOMPARE(r.find<QLineEdit>("Text1")->text(), QStringLiteral("1"));
    QCOMPARE(r.find<QLineEdit>("NumXlabels")->text(), QStringLiteral("20"));
    QStringList options;
    for (QRadioButton *o : r.report->findChildren<QRadioButton *>("Option1"))
        options << o->text();
    QCOMPARE(options,
             QStringList({"Standard Print", "Fit To Page", "Fit To Height", "Fit To Width"}));
    r.find<QPushButton>("Command4")->click();
    QVERIFY(!r.report->isVisible());
}

// Three files, three pages alike: the same fields once each, titles, labels (288 records,
// 20 labels: a step of 15) and figures, printed as vectors for "Fit To Page".
void TestAutoGraph::pageForEachFile()
{
    QTemporaryDir dir;
    Report r;
    r.open(makeMonth(dir, "JAN2026.MDB", 0));
    QVERIFY(!makeMonth(dir, "FEB2026.MDB", 10).isEmpty());
    QVERIFY(!makeMonth(dir, "mar2026.mdb", 20).isEmpty());
    r.report->setFolder(dir.path());
    QCOMPARE(r.report->settings().files,
             QStringList({"FEB2026.MDB", "JAN2026.MDB", "mar2026.mdb"}));
    r.select("GFieldsY", "Temperature");
    r.select("GFieldsY2", "Humidity");
    r.find<QLineEdit>("AutoHeader")->setText("Indoors");
    r.find<QLineEdit>("Text1")->setText("2");
    for (const char *check : {"Check1", "Check2", "Check3"})
        r.find<QCheckBox>(check)->setChecked(true);
    r.report->findChildren<QRadioButton *>("Option1").at(1)->click(); // "Fit To Page"

    QList<Page> pages;
    Chart2D *chart = r.w.chart.chart();
    connect(r.find<QListWidget>("File1"), &QListWidget::currentRowChanged, this, [&](int row) {
        if (row > 0)
            pages << pageOf(chart);
    });
    const QString pdf = dir.filePath("report.pdf");
    QVERIFY(r.print(pdf));
    pages << pageOf(chart);

    QCOMPARE(pdfPages(pdf), 3);
    QCOMPARE(pdfImages(pdf), 0);
    QCOMPARE(pages.size(), 3);
    const Page &last = pages.last();
    QCOMPARE(last.group1, QStringList{"Temperature"});
    QCOMPARE(last.group2, QStringList{"Humidity"});
    QCOMPARE(last.yTitle, QStringLiteral("Temperature"));
    QCOMPARE(last.header, QStringLiteral("Indoors"));
    QVERIFY(last.seriesLabels);
    QCOMPARE(last.order2, DrawingOrder::Front);
    QCOMPARE(last.labels.size(), 20);
    QCOMPARE(last.labels.at(1).first, 15.0);
    QCOMPARE(last.labels.at(1).second, QStringLiteral("1/1/2026 1:15:00 AM ").left(20));
    // mar2026.mdb: Temperature 20..29, ten each in turn.
    QCOMPARE(last.footer,
             QStringLiteral("Minimum=20, Maximum=29, Average=24, Standard Deviation=3"));
    QCOMPARE(chart->seriesStyle(2, 1).symbol, SymbolShape::None);
    for (const Page &p : std::as_const(pages))
        QVERIFY(p == last);
    QCOMPARE(r.report->statusText(), QStringLiteral("Printed 3 of 3 reports"));
    QVERIFY(!r.w.chart.automatedRun());

    // The chart window's "Fit to Page" prints a picture (format 3).
    const QString single = dir.filePath("single.pdf");
    r.w.dialogs.pdf = single;
    r.w.chart.action("m_pm")->trigger();
    QCOMPARE(pdfImages(single), 1);
}

// Opened from the chosen folder whatever the current one; a file that does not open, or
// has no table, is named in the status bar and the other files still print.
void TestAutoGraph::unreadableFilesAreSkipped()
{
    QTemporaryDir dir;
    QTemporaryDir elsewhere;
    Report r;
    r.open(makeMonth(dir, "JAN2026.MDB", 0));
    QFile bad(dir.filePath("BAD.MDB"));
    QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write("not a database") > 0);
    bad.close();
    SqliteFile empty;
    QVERIFY(empty.open(dir.filePath("EMPTY.MDB"), SqliteFile::Mode::Create).ok() &&
            empty.exec("PRAGMA user_version = 1").ok());
    empty.close();
    r.report->setFolder(dir.path());
    r.select("GFieldsY", "Temperature");
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(elsewhere.path());
    const bool ended = r.print(dir.filePath("report.pdf"));
    QDir::setCurrent(cwd);
    QVERIFY(ended);
    QCOMPARE(pdfPages(dir.filePath("report.pdf")), 1);
    QCOMPARE(r.report->statusText(),
             QStringLiteral("Printed 1 of 3 reports; not printed: BAD.MDB, EMPTY.MDB"));
}

// The chart window's table choice fills the lists; during a run it no longer empties them.
void TestAutoGraph::fieldListsFollowTheChart()
{
    QTemporaryDir dir;
    Report r;
    r.open(makeMonth(dir, "JAN2026.MDB", 0));
    auto *y = r.find<QListWidget>("GFieldsY");
    const QStringList fields = {"Date_Time", "Temperature", "Humidity"};
    const auto listed = [y] {
        QStringList out;
        for (int i = 0; i < y->count(); ++i)
            out << y->item(i)->text() + (y->item(i)->isSelected() ? "*" : "");
        return out;
    };
    QCOMPARE(listed(), fields);
    r.select("GFieldsY", "Humidity");
    r.w.chart.setAutomatedRun(true);
    r.w.choose("List1", "Indoor Data");
    QCOMPARE(listed(), QStringList({"Date_Time", "Temperature", "Humidity*"}));
    r.w.chart.setAutomatedRun(false);
    r.w.choose("List1", "Outdoor Data");
    QCOMPARE(listed(), fields);
}

void TestAutoGraph::tooFewLabelsAreRefused()
{
    QTemporaryDir dir;
    Report r;
    r.open(makeMonth(dir, "JAN2026.MDB", 0));
    r.find<QCheckBox>("Check2")->setChecked(true);
    r.find<QLineEdit>("NumXlabels")->setText("1");
    r.w.dialogs.asked.clear();
    QVERIFY(r.print(dir.filePath("report.pdf")));
    QCOMPARE(r.w.dialogs.asked, QStringList{"Number entered must be 2 or more"});
    QVERIFY(!QFile::exists(dir.filePath("report.pdf")));
}

// At 600 dots an inch the chart fills the page as at 96: drawn once, not scaled twice.
void TestAutoGraph::fineResolutionPageHoldsTheChart()
{
    QTemporaryDir dir;
    Report r;
    r.open(makeMonth(dir, "JAN2026.MDB", 0));
    r.report->setFolder(dir.path());
    r.select("GFieldsY", "Temperature");
    r.report->findChildren<QRadioButton *>("Option1").at(1)->click(); // "Fit To Page"
    r.w.dialogs.resolution = 600;
    QVERIFY(r.print(dir.filePath("report.pdf")));
    QProcess pdftoppm;
    pdftoppm.start("pdftoppm", {"-r", "48", "-png", "-singlefile", dir.filePath("report.pdf"),
                                dir.filePath("page")});
    QVERIFY(pdftoppm.waitForFinished(60000) && pdftoppm.exitCode() == 0);
    const QImage page = QImage(dir.filePath("page.png")).convertToFormat(QImage::Format_RGB32);
    QRect ink;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 250)
                ink |= QRect(x, y, 1, 1);
    QVERIFY2(ink.left() < page.width() / 10 && ink.right() > page.width() * 9 / 10 &&
                 ink.top() < page.height() / 10 && ink.bottom() > page.height() * 8 / 10,
             qPrintable(QStringLiteral("ink %1,%2 to %3,%4 on %5x%6")
                            .arg(ink.left())
                            .arg(ink.top())
                            .arg(ink.right())
                            .arg(ink.bottom())
                            .arg(page.width())
                            .arg(page.height())));
}

QTEST_MAIN(TestAutoGraph)
#include "tst_autograph.moc"
