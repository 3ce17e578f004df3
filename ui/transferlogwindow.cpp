// The transfer log window.
#include "ui/transferlogwindow.h"

#include "core/datetimeformat.h"
#include "core/transferlog.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

TransferLogWindow::TransferLogWindow(const TransferLog &log, QWidget *parent)
    : QWidget(parent, Qt::Window), m_log(log), m_list(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("TransferLog"));
    setWindowTitle(tr("Transfer Log"));
    m_list->setObjectName(QStringLiteral("TransferLogText"));
    m_list->setReadOnly(true);
    m_list->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto *box = new QVBoxLayout(this);
    box->addWidget(m_list);
    resize(fontMetrics().averageCharWidth() * 100, fontMetrics().height() * 16);
    // Redrawn whole, so that entries the log has let go of leave the window too.
    connect(&log, &TransferLog::entryAdded, this, &TransferLogWindow::showEntries);
    showEntries();
}

QString TransferLogWindow::entryLine(const TransferLogEntry &entry)
{
    return generalDate(entry.time) + QLatin1String("  ") + entry.text;
}

void TransferLogWindow::showEntries()
{
    QStringList lines;
    for (const TransferLogEntry &entry : m_log.entries())
        lines << entryLine(entry);
    m_list->setPlainText(lines.join(QLatin1Char('\n')));
    m_list->moveCursor(QTextCursor::End);
}
