// One table read from the month files of a run of months, seen as one record set in time
// order, so that a chart and its statistics cover weeks or years as they cover one month.
#pragma once

#include "charting/data/monthtable.h"

#include <QDate>

#include <memory>

class MonthRange final : public ChartData
{
public:
    // The most months one range takes: twenty years.
    static constexpr int MaxMonths = 240;

    // Takes `table` of each month file from `first` to `last` (their months) in `folder`:
    // field names, no record yet. A month without a file, or whose file or table does not
    // open, is skipped and named in missingFiles(). Fails when no month opens, the table
    // has no date/time field, or the range is reversed or longer than MaxMonths.
    LogResult open(const QString &folder, const QDate &first, const QDate &last,
                   const QString &table);
    // Reads those of `fields` not read yet from every month, one query per month; the
    // date/time field is always read with them. Records without a readable date/time are
    // left out; the others are kept in time order. The record count is 0 until a field
    // was read.
    LogResult fetch(const QStringList &fields);
    void clear();

    QString tableName() const { return m_table; }
    QStringList fieldNames() const { return m_fields; }
    // The field the date/time search found.
    int timeFieldIndex() const { return m_timeField; }
    QString timeFieldName() const { return m_fields.value(m_timeField); }
    QStringList readFiles() const { return m_read; }
    // The first month file read.
    QString firstPath() const { return m_months.empty() ? QString() : m_months.front()->path(); }
    QStringList missingFiles() const { return m_missing; }

    int recordCount() const override { return int(m_order.size()); }
    bool hasField(const QString &field) const override { return m_fields.contains(field); }
    // The date/time field's values are its times in seconds since the epoch (local time).
    std::vector<double> values(const QString &field) const override;
    QStringList texts(const QString &field) const override;

private:
    void orderByTime();

    QString m_table;
    QStringList m_fields; // of the first month that opened
    int m_timeField = -1;
    std::vector<std::unique_ptr<MonthTable>> m_months;
    QStringList m_read;
    QStringList m_missing;
    bool m_ordered = false;
    std::vector<double> m_times; // by record, in time order
    std::vector<qint64> m_order; // record in time order -> index over all months' records
    bool m_identity = true;      // m_order is 0, 1, 2, ...
};

// "1/31/2026 11:59:00 PM" (or the date alone) as seconds since the epoch, the text read as
// local time; NaN when it is no such date.
double generalDateSeconds(const QString &text);
