// The chart window's data commands: data source, table, series and active group.
#include "ui/chartmain.h"

#include "charting/chart2d.h"
#include "charting/data/chartfields.h"
#include "core/programdir.h"
#include "ui/chartdialogs.h"
#include "ui/selectseries.h"
#include "ui/waitform.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>

namespace {

// Group 2 is drawn without symbols, so that it stands apart from group 1.
void clearGroupSymbols(Chart2D *chart, int group)
{
    if (group != 2)
        return;
    for (int s = 1; s <= chart->boundFieldCount(group); ++s)
        chart->setSymbolShape(group, s, SymbolShape::None);
}

} // namespace

int ChartMain::activeGroup() const
{
    return m_activeGroup->currentIndex() == 1 ? 2 : 1;
}

int ChartMain::activeSeries() const
{
    return seriesList(activeGroup())->currentRow() + 1;
}

QListWidget *ChartMain::seriesList(int group) const
{
    return group == 2 ? m_group2 : m_group1;
}

void ChartMain::SelectDataSource()
{
    const QString folder = m_folder.isEmpty() ? programDirectory() : m_folder;
    QPointer<ChartMain> self(this);
    m_dialogs.chooseDatabase(this, folder, [self](const QString &path) {
        if (self && !path.isEmpty()) // a cancelled dialog leaves everything as it is
            self->openDatabase(path);
    });
}

void ChartMain::openDatabase(const QString &path)
{
    const LogResult opened = listTables(path);
    if (!opened.ok()) {
        m_dialogs.tell(this,
                       QStringLiteral("Corvane could not open %1: %2").arg(path, opened.error));
        return;
    }
    emit reportFieldsCleared();
    // The second table: "Outdoor Data" of a month file. With fewer, the user picks one.
    if (m_tables->count() >= 2) {
        m_tables->setCurrentIndex(1);
        chooseTable(1);
    }
}

LogResult ChartMain::listTables(const QString &path)
{
    const LogResult opened = m_session.openDatabase(path);
    if (!opened.ok())
        return opened;
    m_databaseName->setText(path);
    m_chart->setDataSource(&m_session.data()); // one file again, after a range
    m_chart->refresh();                        // no table is chosen yet
    for (QComboBox *list : {m_tables, m_replaceField, m_xField, m_addField})
        list->clear();
    m_selectSeries->clearFields();
    m_tables->addItems(m_session.tables());
    m_tables->setCurrentIndex(-1);
    return opened;
}

LogResult ChartMain::openFirstTable(const QString &path)
{
    const LogResult opened = listTables(path);
    if (!opened.ok())
        return opened;
    if (m_tables->count() == 0)
        return LogResult::failure(QStringLiteral("it has no table"));
    m_tables->setCurrentIndex(0);
    return takeTable(0);
}

void ChartMain::chooseTable(int index)
{
    const LogResult read = takeTable(index);
    if (!read.ok()) {
        m_dialogs.tell(this, QStringLiteral("Corvane could not read %1: %2")
                                 .arg(m_tables->itemText(index), read.error));
        return;
    }
    if (m_session.xFieldIndex() < 0)
        m_dialogs.tell(this, QStringLiteral("Corvane was unable to find a Date/Time field for "
                                            "the X Axis, Please select manually"));
}

LogResult ChartMain::takeTable(int index)
{
    for (QComboBox *list : {m_replaceField, m_xField, m_addField})
        list->clear();
    m_selectSeries->clearFields();
    if (!m_automatedRun)
        emit reportFieldsCleared();
    // Series stay bound across tables; they are drawn from the new table's fields.
    LogResult read = m_session.chooseTable(m_tables->itemText(index));
    // A range is drawn against its times; one month against record positions.
    m_chart->setTimeField(m_session.isRange() && read.ok() ? m_session.range().timeFieldName()
                                                           : QString());
    if (read.ok())
        read = m_session.fetch(m_chart->boundFields(1) + m_chart->boundFields(2));
    m_chart->refresh();
    if (!read.ok())
        return read;
    const QStringList fields = m_session.fields();
    for (QComboBox *list : {m_replaceField, m_xField, m_addField}) {
        list->addItems(fields);
        list->setCurrentIndex(-1);
    }
    m_selectSeries->setFields(fields);
    emit reportFieldsListed(fields);

    const int x = m_session.xFieldIndex();
    m_xField->setCurrentIndex(x >= 0 ? x : m_xField->count() - 1); // where the search stopped
    return read;
}

void ChartMain::fetchWanted()
{
    const QStringList fields = m_wanted;
    m_wanted.clear();
    const LogResult read = m_session.fetch(fields);
    if (!read.ok())
        m_dialogs.tell(this, QStringLiteral("Corvane could not read %1: %2")
                                 .arg(m_session.tableName(), read.error));
}

void ChartMain::bindSeries(int group, const QString &field)
{
    m_chart->addBoundField(group, field);
    QListWidget *list = seriesList(group);
    list->addItem(field);
    list->setCurrentRow(0);
}

void ChartMain::replaceSeries(const QString &field)
{
    const int g = activeGroup();
    seriesList(g)->clear();
    while (m_chart->boundFieldCount(g) > 0)
        m_chart->removeBoundField(g, 1);
    m_wanted << field;
    m_wait->runAfterWait([this, g, field] {
        fetchWanted();
        m_chart->setHeaderText(QString());
        m_chart->setFooterText(QString());
        bindSeries(g, field);
        clearGroupSymbols(m_chart, g);
    });
}

void ChartMain::addSeries(const QString &field)
{
    const int g = activeGroup();
    m_wanted << field;
    m_wait->runAfterWait([this, g, field] {
        fetchWanted();
        bindSeries(g, field);
        clearGroupSymbols(m_chart, g);
    });
}

void ChartMain::addSeriesFromDialog(const QString &field)
{
    const int g = activeGroup();
    m_wanted << field;
    m_wait->runAfterWait([this, g, field] {
        fetchWanted();
        bindSeries(g, field);
        const ChartAxis axis = g == 1 ? ChartAxis::Y : ChartAxis::Y2;
        m_chart->setAxisTitle(axis, appendAxisTitle(m_chart->axisTitle(axis), field));
        clearGroupSymbols(m_chart, g);
        m_selectSeries->hide();
    });
}

void ChartMain::removeActiveSeries(bool clearTitle)
{
    const int g = activeGroup();
    QListWidget *list = seriesList(g);
    const int row = list->currentRow();
    if (list->count() == 0 || row < 0)
        return;
    m_chart->removeBoundField(g, row + 1);
    delete list->takeItem(row);
    if (list->count() > 0)
        list->setCurrentRow(0);
    if (clearTitle)
        m_chart->setAxisTitle(g == 1 ? ChartAxis::Y : ChartAxis::Y2, QString());
}

void ChartMain::removeSeries()
{
    removeActiveSeries(true);
}

void ChartMain::removeSeriesKeepTitle()
{
    removeActiveSeries(false);
}

void ChartMain::switchActiveGroup(int index)
{
    m_activeGroup->setCurrentIndex(index);
    m_group1->setVisible(index == 0);
    m_group2->setVisible(index == 1);
    m_replaceField->setCurrentIndex(-1);
    m_addField->setCurrentIndex(-1);
}

void ChartMain::clearChartGroup()
{
    const int g = activeGroup();
    while (m_chart->boundFieldCount(g) > 0)
        m_chart->removeBoundField(g, 1);
    seriesList(g)->clear();
    for (ChartAxis axis : {ChartAxis::X, ChartAxis::Y, ChartAxis::Y2})
        m_chart->setAxisTitle(axis, QString());
    // A data source must be chosen again.
    for (QComboBox *list : {m_tables, m_replaceField, m_xField, m_addField})
        list->clear();
    m_chart->setHeaderText(QString());
    m_chart->setFooterText(QString());
    m_chart->setPointLabelField(g, QString());
    m_chart->clearPointLabels(g);
    m_chart->setAnnotation(ChartAxis::X, AxisAnnotation::Values);
    setScrollingTimeAxis(false);
    m_chart->setMarkerVisible(false);
    m_chart->setAxisMinimum(ChartAxis::X, std::nullopt);
    m_chart->setAxisMaximum(ChartAxis::X, std::nullopt);
    resetZoom();
}
