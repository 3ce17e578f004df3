// One table of a month log file, read whole into memory so that no file stays open.
#pragma once

#include "charting/chartdata.h"
#include "logging/logresult.h"

#include <QString>
#include <QStringList>

// The logging pass writes into the same file while a chart shows it, so the file is opened
// read-only, read in one query and closed again at once: no read transaction outlives a
// call, and a writer is never refused because a chart is open.
class MonthTable final : public ChartData
{
public:
    // The tables a chart offers, in name order: SQLite's own tables and every name that
    // contains "MS" are left out.
    static LogResult listTables(const QString &path, QStringList *tables);

    // Reads every record of `table` of the file at `path`. On failure the table is empty.
    LogResult load(const QString &path, const QString &table);
    void clear();

    QString path() const { return m_path; }
    QString tableName() const { return m_table; }
    QStringList fieldNames() const { return m_fields; }
    int fieldIndex(const QString &name) const { return m_fields.indexOf(name); }
    int fieldCount() const { return int(m_fields.size()); }

    // The field's values in record order; a NULL or a value that is not a number is NaN, a
    // missing point. Empty for an unknown field.
    const std::vector<double> &column(int field) const;
    // The value as stored, as text ("1/31/2026 11:59:00 PM"); empty for NULL.
    QString text(int field, int record) const;

    // What the chart draws from.
    int recordCount() const override { return m_records; }
    bool hasField(const QString &field) const override { return m_fields.contains(field); }
    std::vector<double> values(const QString &field) const override;
    QStringList texts(const QString &field) const override;

    // How long opening waits for a writer's lock; a logging pass holds one only briefly.
    static constexpr int BusyTimeoutMs = 250;

private:
    struct Column
    {
        std::vector<double> numbers;
        QStringList texts; // only for a field that holds texts; empty otherwise
    };

    QString m_path;
    QString m_table;
    QStringList m_fields;
    std::vector<Column> m_columns;
    int m_records = 0;
};
