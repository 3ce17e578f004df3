// "Open Range...": a table of the month files from a first to a last month, as one series
// set in time order on a date axis.
#include "ui/chartmain.h"

#include "charting/chart2d.h"
#include "core/clock.h"
#include "core/programdir.h"
#include "ui/chartdialogs.h"
#include "ui/waitform.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QStatusBar>

namespace {

// "2026-03" as the first of that month; invalid for anything else.
QDate monthOf(const QString &text)
{
    static const QRegularExpression re(QStringLiteral(R"(^\s*(\d{4})-(\d{1,2})\s*$)"));
    const auto m = re.match(text);
    return m.hasMatch() ? QDate(m.captured(1).toInt(), m.captured(2).toInt(), 1) : QDate();
}

QString monthText(const QDate &d)
{
    return d.toString(QStringLiteral("yyyy-MM"));
}

} // namespace

void ChartMain::askRange()
{
    const QDate now = m_clock.now().date();
    const QDate thisMonth(now.year(), now.month(), 1);
    QPointer<ChartMain> self(this);
    // Each answer is checked before the next question; an empty one (cancel) stops.
    const auto month = [self](const QString &answer, const std::function<void(QDate)> &next) {
        if (!self || answer.trimmed().isEmpty())
            return;
        const QDate m = monthOf(answer);
        if (!m.isValid()) {
            self->m_dialogs.tell(self, QStringLiteral("Please enter a month as YYYY-MM"));
            return;
        }
        next(m);
    };
    m_dialogs.askText(
        this, QStringLiteral("First month to chart (YYYY-MM)"), monthText(thisMonth.addMonths(-11)),
        [self, month, thisMonth](const QString &a) {
            month(a, [self, month, thisMonth](QDate first) {
                self->m_dialogs.askText(
                    self, QStringLiteral("Last month to chart (YYYY-MM)"), monthText(thisMonth),
                    [self, month, first](const QString &b) {
                        month(b, [self, first](QDate last) {
                            self->m_dialogs.askText(
                                self, QStringLiteral("Table to chart (Outdoor Data or Indoor Data)"),
                                QStringLiteral("Outdoor Data"),
                                [self, first, last](const QString &table) {
                                    if (self && !table.trimmed().isEmpty())
                                        self->openRange(first, last, table.trimmed());
                                });
                        });
                    });
            });
        });
}

void ChartMain::openRange(const QDate &first, const QDate &last, const QString &table)
{
    QPointer<ChartMain> self(this);
    m_wait->runAfterWait([self, first, last, table] {
        if (self)
            self->readRange(first, last, table);
    });
}

void ChartMain::readRange(const QDate &first, const QDate &last, const QString &table)
{
    const QString folder = m_folder.isEmpty() ? programDirectory() : m_folder;
    const LogResult opened = m_session.openRange(folder, first, last, table);
    if (!opened.ok()) {
        m_dialogs.tell(this, QStringLiteral("Corvane could not chart %1 to %2: %3")
                                 .arg(monthText(first), monthText(last), opened.error));
        return;
    }
    m_chart->setDataSource(&m_session.data());
    m_databaseName->setText(QStringLiteral("%1 to %2").arg(monthText(first), monthText(last)));
    for (QComboBox *list : {m_tables, m_replaceField, m_xField, m_addField})
        list->clear();
    m_tables->addItems(m_session.tables());
    m_tables->setCurrentIndex(m_tables->findText(table));
    emit reportFieldsCleared();
    const LogResult read = takeTable(m_tables->currentIndex());
    if (!read.ok()) {
        m_dialogs.tell(this, QStringLiteral("Corvane could not read %1: %2").arg(table, read.error));
        return;
    }
    const MonthRange &range = m_session.range();
    const int months = int(range.readFiles().size() + range.missingFiles().size());
    QString status = QStringLiteral("Read %1 of %2 months").arg(range.readFiles().size()).arg(months);
    if (!range.missingFiles().isEmpty())
        status += QStringLiteral("; missing: ") + range.missingFiles().join(QStringLiteral(", "));
    statusBar()->showMessage(status);
}
