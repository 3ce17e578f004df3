// The "Transfer Log" window: the transfer log's entries, newest last, with their times.
#pragma once

#include <QWidget>

class QPlainTextEdit;
class TransferLog;
struct TransferLogEntry;

// Follows the log it is given, which must outlive it.
class TransferLogWindow : public QWidget
{
    Q_OBJECT
public:
    explicit TransferLogWindow(const TransferLog &log, QWidget *parent = nullptr);

    // "M/d/yyyy h:mm:ss AM  text": one entry as the window and the status bar show it.
    static QString entryLine(const TransferLogEntry &entry);

private:
    void showEntries();

    const TransferLog &m_log;
    QPlainTextEdit *m_list;
};
