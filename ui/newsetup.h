// NewSetup, "Corvane Configuration Editor": every setting of the configuration file on six
// tabs. It edits a Configuration value and hands it back; writing and applying it are the
// program's business.
#pragma once

#include "config/configuration.h"

#include <QDialog>
#include <QHash>
#include <QPointer>
#include <QStringList>
#include <QVariant>
#include <array>

class FaxDevice;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMessageBox;
class QPushButton;
class QTabWidget;
class QTimeEdit;
class QTreeWidget;

// Controls carry the names of the configuration's field table as objectName. Members of a
// control array (`Option1`, `PagNumText`, `DisplayUnits` ...) share the name and hold their
// element number in the dynamic property "index", as the form designer numbered them.
//
// Not modal; "Exit" (or closing the window) hides it and emits exited(). Messages are
// opened over it without blocking.
class NewSetup : public QDialog
{
    Q_OBJECT
public:
    explicit NewSetup(QWidget *parent = nullptr);
    ~NewSetup() override;

    // Fills every control from `config` and shows the FTP tab.
    void load(const Configuration &config);
    // The loaded record with the controls' values. A control still showing what load()
    // gave it keeps the loaded value as it was (type and form), so that saving untouched
    // rewrites the file as it was.
    Configuration edited() const;

    // The devices of ports 1-8, shown beside the buttons of the three port groups.
    void setPortDevices(const QStringList &devices);
    // Shows tab `index` (0 "FTP Settings" .. 5 "Paging Settings").
    void showTab(int index);

    // A message box over the dialog, opened without blocking.
    void showMessage(const QString &text);
    // The value of `field` (named as the configuration file's field table names it,
    // "RemoteHost", "Pagers[1].PagerNumber") cannot be saved: shows its tab, puts the
    // cursor in its box and says why, naming it by its caption.
    void showRefusal(const QString &field, const QString &reason);

    // The fax tab's tools work on `fax` (its log "FaxLog.db" and "FaxConfig.cfg" in
    // `programDir`); without it they stay disabled.
    void attachFax(FaxDevice *fax, const QString &programDir);
    // Reads the fax log chosen in Combo1 again into the list `FaxMan`.
    void showFaxLog();

    // Element `index` of the control array `name`; null when there is none.
    QWidget *element(const QString &name, int index) const;

    enum Tab { FtpTab, PortTab, DisplayTab, GraphTab, FaxTab, PagingTab, SharingTab };

signals:
    // "Save": the edited record.
    void saveRequested(const Configuration &config);
    // "Exit", or the window closed: nothing is saved.
    void exited();

private:
    struct PagerRowControls
    {
        QLineEdit *number = nullptr;
        QLineEdit *company = nullptr;
        QCheckBox *enabled = nullptr;
        QComboBox *pageType = nullptr;
        QComboBox *alarmType = nullptr;
        QLineEdit *setting = nullptr;
    };

    QWidget *buildFtpPage();
    QWidget *buildPortPage();
    QWidget *buildDisplayPage();
    QWidget *buildGraphPage();
    QWidget *buildFaxPage();
    QWidget *buildPagingPage();
    QLineEdit *addTextBox(const char *name);

    void choosePageType(int row, int index);
    void deleteFaxEntry();
    void deleteFaxLog();
    void openFaxDevices();
    void showStyleSample(int index);
    QVariant shownState(const QObject *control) const;
    bool untouched(const QObject *control) const;
    QWidget *controlOfField(const QString &field, QString *caption, int *tab) const;

    QTabWidget *m_tabs = nullptr;
    QHash<QString, QLineEdit *> m_textBoxes; // the single text boxes, by objectName
    QCheckBox *m_autoDisconnect = nullptr;
    std::array<QButtonGroup *, 3> m_portGroups{}; // Option1, Option3, Option4
    std::array<QList<QLabel *>, 3> m_portDevices;
    QButtonGroup *m_units = nullptr;
    QComboBox *m_graphStyle = nullptr;
    QLabel *m_styleSample = nullptr;
    QComboBox *m_graphSize = nullptr;
    QLineEdit *m_graphHeader = nullptr;
    QLineEdit *m_graphPath = nullptr;
    QTimeEdit *m_graphTime = nullptr;
    QCheckBox *m_uploadGraphs = nullptr;
    QComboBox *m_faxLog = nullptr;       // Combo1
    QTreeWidget *m_faxEntries = nullptr; // FaxMan: the chosen log's entries
    QList<QPushButton *> m_faxTools;     // Command3, Command4, Command5
    QPointer<FaxDevice> m_fax;
    QString m_faxDir;
    std::array<PagerRowControls, 5> m_rows;

    Configuration m_loaded;
    QHash<const QObject *, QVariant> m_shown; // each control's state right after load()
    QPointer<QMessageBox> m_message;
};
