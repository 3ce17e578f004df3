// The chart window: a month table chosen from a log file, its fields bound as series to two
// chart groups, and the series statistics.
#pragma once

#include "charting/charttypes.h"
#include "charting/data/chartsession.h"
#include "charting/data/chartstatistics.h"

#include <QDate>
#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

class AutoGraph;
class ChartDialogs;
class Chart2D;
class Clock;
class GraphFaxSender;
class QComboBox;
class QLineEdit;
class QListWidget;
class QMenu;
class QPrinter;
class QRadioButton;
class SelectSeries;
class WaitForm;

// Every load of data shows the wait window first and goes on from its timer (WaitForm);
// every question goes through ChartDialogs. So no command waits inside another.
class ChartMain : public QMainWindow
{
    Q_OBJECT
public:
    ChartMain(Clock &clock, ChartDialogs &dialogs, QWidget *parent = nullptr);
    ~ChartMain() override;

    // Where the file dialog starts; the program directory unless set.
    void setDatabaseFolder(const QString &folder) { m_folder = folder; }

    Chart2D *chart() const { return m_chart; }
    SelectSeries *selectSeries() const { return m_selectSeries; }
    WaitForm *waitForm() const { return m_wait; }
    const ChartSession &session() const { return m_session; }
    // "Fax Graph" sends through `fax`; without one the command stays disabled.
    void setFaxSender(GraphFaxSender *fax);
    // What "Fax Graph" sends: the chart at 32500 x 25000 twips with header and footer in
    // Arial 16, the X labels in Arial 14 and group 1's first series 2 wide. The chart is
    // left as it was.
    QImage faxPicture();

    // What the window shows its status in: the months a range read and those it missed.
    QString statusText() const;

    // A menu command by its objectName ("m_sr", "m_m", ...).
    QAction *action(const QString &objectName) const { return m_actions.value(objectName); }

    // 1 while "Chart Group 1 (Y Axis)" is chosen in Combo1, else 2.
    int activeGroup() const;
    // The selected entry of the active group's series list + 1; 0 when none is selected.
    int activeSeries() const;

public slots:
    // "&Select DataSource": the file dialog, then openDatabase() with the chosen file. A
    // cancelled dialog changes nothing.
    void SelectDataSource();
    // "Open Range...": the first and last month ("YYYY-MM") and the table, then openRange.
    void askRange();
    // After the wait window: `table` of the month files from `first` to `last` in the
    // database folder, as one record set in time order on a date/time X axis. Months
    // without a file are skipped and named in the status bar.
    void openRange(const QDate &first, const QDate &last, const QString &table);
    // Lists the file's tables in List1 and chooses the second. A file that does not open
    // leaves lists and chart as they were and says why.
    void openDatabase(const QString &path);
    // A table of List1: reads it, fills the field lists and looks for the X date/time field.
    void chooseTable(int index);
    // list2: the active group's series replaced by `field`.
    void replaceSeries(const QString &field);
    // list4: `field` added to the active group.
    void addSeries(const QString &field);
    // "Select Series To Add": `field` added to the active group and to its axis title.
    void addSeriesFromDialog(const QString &field);
    // The "Remove Series" button: the active series goes, and the group's axis title.
    void removeSeries();
    // The "Remove Series" menu command: the active series goes; the title stays.
    void removeSeriesKeepTitle();
    // Combo1: 0 shows group 1's series (List5), 1 group 2's (List6).
    void switchActiveGroup(int index);
    // "&Math": statistics of the active series, then the cost and footer questions.
    void Math();
    // "Reset Zoom": the unzoomed view, the 3D view reset and the mouse mode "None".
    void resetZoom();
    // "Clear ChartGroup": the active group's series, titles, lists and labels go.
    void clearChartGroup();
    // "Load Chart Type" and "Save Chart Type": the chart format file.
    void loadChartType();
    void saveChartType();
    // "Copy to Clipboard" and "Save Graph As JPEG".
    void copyChart();
    void saveChartJpeg();
    // "Line Width": 1 to 5; anything else is refused and gives 1.
    void askLineWidth();
    // "Scrolling Time Axis": the X marker and the footer follow the pointer.
    void setScrollingTimeAxis(bool on);
    // The four print commands: the print dialog, then the chart on one landscape page.
    void printChart(PrintFormat format, PrintScaling scaling);
    // "X Axis Date/Time": the X field read, then how many labels (2 up to the record
    // count; asked again otherwise), then the labels.
    void askDateTimeLabels();
    // "Chart Day": which day of the month, then the X axis narrowed to its records.
    void askChartDay();
    // "Automated Reporting...": the report window, made on first use.
    AutoGraph *showAutoGraph();
    // "Fax Graph": the fax document made from faxPicture(), then the number asked for and
    // the fax sent; the status bar follows it.
    void faxGraph();

public:
    // What the automated report drives. While the automated-run flag is set, choosing a
    // table no longer clears the report window's field lists.
    void setAutomatedRun(bool on) { m_automatedRun = on; }
    bool automatedRun() const { return m_automatedRun; }
    AutoGraph *autoGraph() const { return m_autoGraph; }
    // Lists the file's tables and takes the first, saying nothing: the caller reports.
    LogResult openFirstTable(const QString &path);
    // Binds those of `fields` the table has to `group`, titles its axis with them and
    // returns the others.
    QStringList bindReportSeries(int group, const QStringList &fields);
    // Reads the X field (list3) and puts `count` (2 or more) date/time labels on the X
    // axis; false when there is no X field or no record.
    bool showDateTimeLabels(int count);
    // The statistics of series 1 of the active group, shown in the statistics boxes.
    std::optional<SeriesStatistics> seriesOneStatistics();

signals:
    // The report window's field lists follow the table chosen here.
    void reportFieldsCleared();
    void reportFieldsListed(const QStringList &fields);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    LogResult listTables(const QString &path);
    LogResult takeTable(int index);
    void readRange(const QDate &first, const QDate &last, const QString &table);
    void askLabelCount(int records);
    QWidget *buildControls();
    QWidget *buildStatistics();
    void buildMenus();
    void buildStyleMenus();
    void buildLabelMenus();
    QAction *addAction(QWidget *where, const char *objectName, const QString &caption);
    // Runs `change` on the active group and series; nothing when no series is selected.
    void styleSeries(const std::function<void(int group, int series)> &change);
    void askNumber(const QString &prompt, const QString &preset,
                   const std::function<void(int value)> &set);
    void askTitle(const QString &prompt, const std::function<QString()> &get,
                  const std::function<void(const QString &)> &set);
    void followPointer(int xTwips, int yTwips);
    QListWidget *seriesList(int group) const;
    // Reads the fields asked for since the last wait, all in one query.
    void fetchWanted();
    void bindSeries(int group, const QString &field);
    void removeActiveSeries(bool clearTitle);
    void setMouseMode(int mode);
    void showStatistics(const std::optional<SeriesStatistics> &s);
    void offerCost(const QString &series, const SeriesStatistics &s);
    void offerFooter(const QString &series, const SeriesStatistics &s,
                     std::optional<Currency> cost);

    Clock &m_clock;
    ChartDialogs &m_dialogs;
    QString m_folder;
    ChartSession m_session;
    QStringList m_wanted; // fields to read once the wait window shows

    Chart2D *m_chart = nullptr;
    WaitForm *m_wait = nullptr;
    SelectSeries *m_selectSeries = nullptr;
    QLineEdit *m_databaseName = nullptr;  // Text1
    QComboBox *m_tables = nullptr;        // List1
    QComboBox *m_replaceField = nullptr;  // list2
    QComboBox *m_xField = nullptr;        // list3
    QComboBox *m_addField = nullptr;      // list4
    QComboBox *m_activeGroup = nullptr;   // Combo1
    QListWidget *m_group1 = nullptr;      // List5
    QListWidget *m_group2 = nullptr;      // List6
    QLineEdit *m_dateTimeField = nullptr; // DT
    QList<QRadioButton *> m_modes;        // optNone, optMove, optRotate, optScale, optZoom
    QLineEdit *m_minimum = nullptr;
    QLineEdit *m_maximum = nullptr;
    QLineEdit *m_average = nullptr;
    QLineEdit *m_stdDev = nullptr;
    QLineEdit *m_price = nullptr;
    QLineEdit *m_totalCost = nullptr;
    QHash<QString, QAction *> m_actions;
    std::unique_ptr<QPrinter> m_printer; // made at the first print, its settings kept
    AutoGraph *m_autoGraph = nullptr;
    bool m_automatedRun = false;
    QPointer<GraphFaxSender> m_fax;
};

// The main window's "Graphing": the one chart window, made when there is none (its "E&xit"
// deletes it), shown and raised, then "&Select DataSource". `fax` is handed to a new window.
ChartMain *showChartWindow(QPointer<ChartMain> &window, Clock &clock, ChartDialogs &dialogs,
                           GraphFaxSender *fax = nullptr);
