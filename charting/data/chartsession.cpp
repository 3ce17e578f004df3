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
    m_table.clear();
    m_xField = -1;
    return r;
}

LogResult ChartSession::chooseTable(const QString &table)
{
    const LogResult r = m_table.open(m_path, table);
    m_xField = findDateTimeField(m_table.fieldNames());
    return r;
}
