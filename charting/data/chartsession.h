// The chart window's data source: the chosen month file, its tables and the table read.
#pragma once

#include "charting/data/monthtable.h"

class ChartSession
{
public:
    // Lists the file's tables. On failure the session keeps the file, tables and table it
    // had, so that a file that does not open changes nothing.
    LogResult openDatabase(const QString &path);
    QString databasePath() const { return m_path; }
    QStringList tables() const { return m_tables; }

    // Takes `table` of the open file (its fields, no records yet) and looks for its
    // date/time field. On failure the table is empty.
    LogResult chooseTable(const QString &table);
    // Reads the values of `fields` that were not read yet, in one query.
    LogResult fetch(const QStringList &fields) { return m_table.fetch(fields); }
    // What the chart draws from; the same object for the session's whole life.
    const MonthTable &table() const { return m_table; }
    QStringList fields() const { return m_table.fieldNames(); }
    // The field the date/time search found for the X axis, or -1.
    int xFieldIndex() const { return m_xField; }

private:
    QString m_path;
    QStringList m_tables;
    MonthTable m_table;
    int m_xField = -1;
};
