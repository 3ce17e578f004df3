// The chart window's data source: the chosen month file, its tables and the table read.
#pragma once

#include "charting/data/monthrange.h"
#include "charting/data/monthtable.h"

class ChartSession
{
public:
    // Lists the file's tables. On failure the session keeps the file, tables and table it
    // had, so that a file that does not open changes nothing.
    LogResult openDatabase(const QString &path);
    QString databasePath() const { return m_path; }
    QStringList tables() const { return m_tables; }

    // A run of months instead of one file: `table` of each month file from `first` to
    // `last` in `folder`, one record set in time order. The tables offered are those of
    // the first month file found. On failure the session keeps what it had. A later
    // openDatabase() goes back to one file.
    LogResult openRange(const QString &folder, const QDate &first, const QDate &last,
                        const QString &table);
    bool isRange() const { return m_isRange; }
    const MonthRange &range() const { return m_range; }

    // Takes `table` of the open file, or of each month of the range (its fields, no
    // records yet) and looks for its date/time field. On failure the table is empty.
    LogResult chooseTable(const QString &table);
    // Reads the values of `fields` that were not read yet, in one query per file.
    LogResult fetch(const QStringList &fields)
    {
        return m_isRange ? m_range.fetch(fields) : m_table.fetch(fields);
    }
    // The one month's table; empty while a range is open.
    const MonthTable &table() const { return m_table; }
    // What the chart draws from: the table, or the range.
    const ChartData &data() const;
    QString tableName() const { return m_isRange ? m_range.tableName() : m_table.tableName(); }
    QStringList fields() const
    {
        return m_isRange ? m_range.fieldNames() : m_table.fieldNames();
    }
    // The field the date/time search found for the X axis, or -1.
    int xFieldIndex() const { return m_xField; }

private:
    QString m_path;
    QStringList m_tables;
    MonthTable m_table;
    MonthRange m_range;
    bool m_isRange = false;
    QString m_folder; // of the range
    QDate m_first, m_last;
    int m_xField = -1;
};
