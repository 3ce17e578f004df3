// What the chart reads its series from: records in order, values and texts by field name.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

// A record set seen column-wise. The chart's X is the record position (0-based), so a
// field's values are one point per record, in record order.
class ChartData
{
public:
    virtual ~ChartData() = default;

    virtual int recordCount() const = 0;
    virtual bool hasField(const QString &field) const = 0;
    // One value per record; NaN where a record has no number (the chart leaves a gap).
    // An unknown field gives an empty vector.
    virtual std::vector<double> values(const QString &field) const = 0;
    // One text per record, as the field reads when shown as a point label.
    virtual QStringList texts(const QString &field) const = 0;
};

// Columns held in memory: for tests, benchmarks and computed series.
class MemoryChartData : public ChartData
{
public:
    // Sets or replaces a numeric column; its texts are the numbers as written by QString.
    void setValues(const QString &field, std::vector<double> values);
    // Sets or replaces a text column; values read as numbers where the text is one.
    void setTexts(const QString &field, QStringList texts);

    int recordCount() const override;
    bool hasField(const QString &field) const override;
    std::vector<double> values(const QString &field) const override;
    QStringList texts(const QString &field) const override;

private:
    QHash<QString, std::vector<double>> m_values;
    QHash<QString, QStringList> m_texts;
};
