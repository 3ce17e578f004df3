// "Automated Reporting": a folder of month files, the fields of the two axes and a few
// options; "Print Reports" prints a page for each file through the chart window.
#pragma once

#include "ui/autographrun.h"

#include <QWidget>
#include <memory>

class ChartDialogs;
class ChartMain;
class Clock;
class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QLineEdit;
class QListWidget;
class QPrinter;
class QRadioButton;
class QStatusBar;
class QTreeView;

class AutoGraph : public QWidget
{
    Q_OBJECT
public:
    AutoGraph(ChartMain &chart, Clock &clock, ChartDialogs &dialogs, QWidget *parent = nullptr);
    ~AutoGraph() override;

    // Dir1's folder; File1 lists its "*.mdb" files, in any case of letters.
    void setFolder(const QString &folder);
    QString folder() const { return m_folder; }
    // What the controls say at present.
    ReportSettings settings() const;
    QString statusText() const;
    bool isPrinting() const { return m_run && m_run->isRunning(); }

public slots:
    // "Print Reports": the print dialog, then a page for each file of File1.
    void printReports();

signals:
    void reportsPrinted();

protected:
    // Takes the chart's header and "Series Labels" when shown, not on every repaint, so
    // that an edited title is not overwritten.
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildFolders();
    QWidget *buildFields();
    QWidget *buildOptions();
    void listFields(const QStringList &fields);
    void clearFields();
    void setDrive(const QString &root);

    ChartMain &m_chart;
    Clock &m_clock;
    ChartDialogs &m_dialogs;
    QString m_folder;
    QFileSystemModel *m_folders = nullptr;
    QComboBox *m_drive = nullptr;          // Drive1
    QTreeView *m_dir = nullptr;            // Dir1
    QListWidget *m_files = nullptr;        // File1
    QListWidget *m_yFields = nullptr;      // GFieldsY
    QListWidget *m_y2Fields = nullptr;     // GFieldsY2
    QLineEdit *m_header = nullptr;         // AutoHeader
    QLineEdit *m_order = nullptr;          // Text1
    QLineEdit *m_labels = nullptr;         // NumXlabels
    QCheckBox *m_seriesLabels = nullptr;   // Check1
    QCheckBox *m_dateTimeLabels = nullptr; // Check2
    QCheckBox *m_mathFigures = nullptr;    // Check3
    QList<QRadioButton *> m_scaling;       // Option1 (0 to 3)
    QStatusBar *m_status = nullptr;
    std::unique_ptr<QPrinter> m_printer; // kept from run to run, with the dialog's choices
    std::unique_ptr<AutoGraphRun> m_run;
};
