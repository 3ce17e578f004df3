// One table of a month log file, its fields read into memory so that no file stays open.
#pragma once

#include "charting/chartdata.h"
#include "logging/logresult.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The logging pass writes into the same file while a chart shows it, so every read opens
// the file read-only, reads all records of the fields it needs in one query and closes it
// again: no read transaction outlives a call, and a writer is never refused because a chart
// is open. Fields are read when first needed, since reading every field of a month of
// one-minute records takes several times as long as reading the few a chart shows.
class MonthTable final : public ChartData
{
public:
    // The tables a chart offers, in name order: SQLite's own tables and every name that
    // contains "MS" are left out.
    static LogResult listTables(const QString &path, QStringList *tables);

    // Takes `table` of the file at `path`: its field names, no record yet. On failure the
    // table is empty.
    LogResult open(const QString &path, const QString &table);
    // Reads those of `fields` not read yet, in one query. The first read takes every record
    // there is, N of them; later reads take the same N, and records logged since are not
    // shown until the table is opened again. Unknown names are left out.
    LogResult fetch(const QStringList &fields);
    LogResult fetchAll() { return fetch(m_fields); }
    void clear();

    QString path() const { return m_path; }
    QString tableName() const { return m_table; }
    QStringList fieldNames() const { return m_fields; }
    int fieldIndex(const QString &name) const { return m_fields.indexOf(name); }
    int fieldCount() const { return int(m_fields.size()); }
    bool isFetched(int field) const;

    // The field's values in record order; a NULL or a value that is not a number is NaN, a
    // missing point. Empty for an unknown field or one not fetched.
    const std::vector<double> &column(int field) const;
    // The value as stored, as text ("1/31/2026 11:59:00 PM"); empty for NULL.
    QString text(int field, int record) const;

    // What the chart draws from. The record count is 0 until a field was read.
    int recordCount() const override { return m_records; }
    bool hasField(const QString &field) const override { return m_fields.contains(field); }
    std::vector<double> values(const QString &field) const override;
    QStringList texts(const QString &field) const override;

    // How long a read waits for a writer's lock; a logging pass holds one only briefly.
    static constexpr int BusyTimeoutMs = 250;

private:
    struct Column
    {
        bool fetched = false;
        std::vector<double> numbers;
        // The texts of a field that holds any, back to back; textEnds[r] is where record
        // r's text ends. Empty for a field of numbers only.
        QByteArray textData;
        std::vector<quint32> textEnds;
    };

    QString m_path;
    QString m_table;
    QStringList m_fields;
    std::vector<Column> m_columns;
    int m_records = 0;
    bool m_counted = false; // N is fixed by the first read
};
