// Month file records for the summaries, read through the chart's month table (one query).
#include "reports/monthobservations.h"

#include "charting/data/monthtable.h"
#include "core/datetimeformat.h"
#include "logging/logschema.h"

LogResult readMonthObservations(const QString &path, QList<Observation> *records)
{
    records->clear();
    MonthTable table;
    LogResult r = table.open(path, outdoorTableName());
    if (!r.ok())
        return r;
    const QStringList fields = {QStringLiteral("Date_Time"),
                                QStringLiteral("Temperature"),
                                QStringLiteral("Average Wind Speed"),
                                QStringLiteral("Average Wind Direction"),
                                QStringLiteral("Gust Wind Speed"),
                                QStringLiteral("Rainfall Total")};
    r = table.fetch(fields);
    if (!r.ok())
        return r;
    const int time = table.fieldIndex(fields.at(0));
    if (time < 0)
        return LogResult::failure(QStringLiteral("%1 has no Date_Time field").arg(path));
    static const std::vector<double> none;
    const auto column = [&](int i) -> const std::vector<double> & {
        const int f = table.fieldIndex(fields.at(i));
        return f < 0 ? none : table.column(f);
    };
    const auto &temperature = column(1);
    const auto &speed = column(2);
    const auto &direction = column(3);
    const auto &gust = column(4);
    const auto &rain = column(5);
    const auto at = [](const std::vector<double> &c, int i) {
        return size_t(i) < c.size() ? c[size_t(i)] : NAN;
    };
    records->reserve(table.recordCount());
    for (int i = 0; i < table.recordCount(); ++i) {
        Observation o;
        o.time = parseGeneralDate(table.text(time, i));
        if (!o.time.isValid())
            continue;
        o.temperature = at(temperature, i);
        o.averageSpeed = at(speed, i);
        o.averageDirection = at(direction, i);
        o.gustSpeed = at(gust, i);
        o.rainTotal = at(rain, i);
        records->append(o);
    }
    return r;
}
