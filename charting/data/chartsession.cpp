// Opening a month file for the chart window and reading the chosen table.
#include "charting/data/chartsession.h"

#include "charting/data/chartfields.h"

LogResult ChartSession::openDatabase(const QString &path)
{
    QStringList tables;
    const LogResult r = MonthTable::listTables(path, &tables);
    if (!r.ok())
        return r;
    m_path = path;
    m_tables = tables;
    m_isRange = false;
    m_range.clear();
    m_table.clear();
    m_xField = -1;
    return r;
}

LogResult ChartSession::openRange(const QString &folder, const QDate &first, const QDate &last,
                                  const QString &table)
{
    MonthRange range;
    const LogResult r = range.open(folder, first, last, table);
    if (!r.ok())
        return r;
    QStringList tables;
    MonthTable::listTables(range.firstPath(), &tables);
    m_path.clear();
    m_tables = tables;
    m_table.clear();
    m_range = std::move(range);
    m_isRange = true;
    m_folder = folder;
    m_first = first;
    m_last = last;
    m_xField = m_range.timeFieldIndex();
    return r;
}

const ChartData &ChartSession::data() const
{
    if (m_isRange)
        return m_range;
    return m_table;
}

LogResult ChartSession::chooseTable(const QString &table)
{
    if (m_isRange) {
        const LogResult r = m_range.open(m_folder, m_first, m_last, table);
        m_xField = m_range.timeFieldIndex();
        return r;
    }
    const LogResult r = m_table.open(m_path, table);
    m_xField = findDateTimeField(m_table.fieldNames());
    return r;
}
