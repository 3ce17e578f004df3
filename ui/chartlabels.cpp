// The chart window's date/time labels and "Chart Day", and what the automated report asks of
// the window.
#include "ui/chartmain.h"

#include "charting/chart2d.h"
#include "charting/data/chartfields.h"
#include "core/clock.h"
#include "graphs/graphexport.h"
#include "graphs/graphlabels.h"
#include "ui/autograph.h"
#include "ui/chartdialogs.h"
#include "ui/waitform.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>

#include <limits>

namespace {

// An input box's number as a 16-bit whole number; empty for a cancel or anything else.
std::optional<int> shortNumber(const QString &answer)
{
    bool ok = false;
    const double v = answer.trimmed().toDouble(&ok);
    if (!ok || v < std::numeric_limits<qint16>::min() || v > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return qRound(v);
}

} // namespace

void ChartMain::askDateTimeLabels()
{
    // Labels stand at record positions; a range is drawn against its times and dated already.
    if (m_session.isRange()) {
        m_dialogs.tell(this, QStringLiteral("The X Axis of a range shows its dates already"));
        return;
    }
    const QString field = m_xField->currentText();
    if (m_dateTimeField->text() != field)
        m_dateTimeField->setText(field);
    if (!field.isEmpty())
        m_wanted << field;
    m_wait->runAfterWait([this, field] {
        fetchWanted();
        const int records = m_session.table().recordCount();
        // No count could be both 2 or more and at most the records there are.
        if (field.isEmpty() || records < 2) {
            m_dialogs.tell(this, QStringLiteral("Corvane has no records to label on the X Axis"));
            return;
        }
        askLabelCount(records);
    });
}

void ChartMain::askLabelCount(int records)
{
    QPointer<ChartMain> self(this);
    m_dialogs.askText(
        this, QStringLiteral("How Many Labels Would You Like On The X Axis?"), QStringLiteral("24"),
        [self, records](const QString &answer) {
            if (!self || answer.trimmed().isEmpty())
                return; // cancelled: the axis stays as it is
            bool ok = false;
            const double count = answer.trimmed().toDouble(&ok);
            QString refused;
            if (ok && count > records)
                refused = QStringLiteral("Number entered greater than available data points");
            else if (!ok || qRound(count) < 2) // the step would divide by zero or less
                refused = QStringLiteral("Number entered must be 2 or more");
            if (!refused.isEmpty()) {
                self->m_dialogs.tell(self, refused);
                self->askLabelCount(records);
                return;
            }
            self->showDateTimeLabels(qRound(count));
        });
}

bool ChartMain::showDateTimeLabels(int count)
{
    const QString field = m_xField->currentText();
    if (!field.isEmpty())
        m_wanted << field;
    fetchWanted();
    const MonthTable &table = m_session.table();
    const int xField = table.fieldIndex(field);
    const int records = table.recordCount();
    if (xField < 0 || records == 0 || count < 2)
        return false;
    m_chart->suspendRedraw();
    addDateTimeLabels(*m_chart, table, xField,
                      labelWalk(records, dateTimeLabelStep(records, count)));
    m_chart->resumeRedraw();
    return true;
}

void ChartMain::askChartDay()
{
    if (m_session.isRange()) {
        m_dialogs.tell(this, QStringLiteral("Chart Day works on one month file; open the month "
                                            "to chart one of its days"));
        return;
    }
    QPointer<ChartMain> self(this);
    m_dialogs.askTextTitled(
        this, QStringLiteral("Corvane"), QStringLiteral("Please enter date to graph"),
        QString::number(m_clock.now().date().day()), [self](const QString &answer) {
            const std::optional<int> day = shortNumber(answer);
            if (!self || !day)
                return; // cancelled, or no number: the axis stays as it is
            const QString field = self->m_xField->currentText();
            if (!field.isEmpty())
                self->m_wanted << field;
            self->m_wait->runAfterWait([self, field, day = *day] {
                if (!self)
                    return;
                self->fetchWanted();
                const MonthTable &table = self->m_session.table();
                // Sets a fixed minimum and maximum; a day without records says so.
                LimitAxisToDay(*self->m_chart, table, table.fieldIndex(field), qint16(day));
            });
        });
}

QStringList ChartMain::bindReportSeries(int group, const QStringList &fields)
{
    QStringList present;
    QStringList missing;
    for (const QString &field : fields)
        (m_session.table().hasField(field) ? present : missing) << field;
    m_wanted << present;
    fetchWanted();
    const ChartAxis axis = group == 1 ? ChartAxis::Y : ChartAxis::Y2;
    QString title = m_chart->axisTitle(axis);
    for (const QString &field : std::as_const(present)) {
        bindSeries(group, field);
        title = appendAxisTitle(title, field);
    }
    m_chart->setAxisTitle(axis, title);
    if (group == 2) {
        for (int s = 1; s <= m_chart->boundFieldCount(2); ++s)
            m_chart->setSymbolShape(2, s, SymbolShape::None);
    }
    return missing;
}

std::optional<SeriesStatistics> ChartMain::seriesOneStatistics()
{
    const std::optional<SeriesStatistics> stats =
        computeStatistics(m_chart->yValues(activeGroup(), 1));
    showStatistics(stats);
    return stats;
}

AutoGraph *ChartMain::showAutoGraph()
{
    if (!m_autoGraph)
        m_autoGraph = new AutoGraph(*this, m_clock, m_dialogs, this);
    m_autoGraph->show();
    m_autoGraph->raise();
    m_autoGraph->activateWindow();
    return m_autoGraph;
}
