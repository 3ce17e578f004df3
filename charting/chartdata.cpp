// The in-memory chart data.
#include "charting/chartdata.h"

#include <cmath>
#include <limits>

void MemoryChartData::setValues(const QString &field, std::vector<double> values)
{
    QStringList texts;
    texts.reserve(int(values.size()));
    for (double v : values)
        texts.append(std::isnan(v) ? QString() : QString::number(v));
    m_values.insert(field, std::move(values));
    m_texts.insert(field, texts);
}

void MemoryChartData::setTexts(const QString &field, QStringList texts)
{
    std::vector<double> values;
    values.reserve(texts.size());
    for (const QString &t : texts) {
        bool ok = false;
        const double v = t.trimmed().toDouble(&ok);
        values.push_back(ok ? v : std::numeric_limits<double>::quiet_NaN());
    }
    m_values.insert(field, std::move(values));
    m_texts.insert(field, std::move(texts));
}

int MemoryChartData::recordCount() const
{
    int n = 0;
    for (const auto &column : m_values)
        n = std::max(n, int(column.size()));
    return n;
}

bool MemoryChartData::hasField(const QString &field) const
{
    return m_values.contains(field);
}

std::vector<double> MemoryChartData::values(const QString &field) const
{
    return m_values.value(field);
}

QStringList MemoryChartData::texts(const QString &field) const
{
    return m_texts.value(field);
}
