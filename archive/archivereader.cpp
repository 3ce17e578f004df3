// One query per month read.
#include "archive/archivereader.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <limits>
#include <numeric>

ArchiveMonth readArchiveMonth(QSqlDatabase &db, const QString &table, const QString &station,
                              const QDate &month, const QStringList &columns)
{
    ArchiveMonth out;
    const auto quoted = [](QString name) {
        return QLatin1Char('"') + name.replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
               QLatin1Char('"');
    };
    QStringList selected{QStringLiteral("date_part('epoch', \"Date_Time\")")};
    for (const QString &c : columns)
        selected << quoted(c);
    const QDate first(month.year(), month.month(), 1);
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE station = ? AND \"Date_Time\" >= ? AND "
                             "\"Date_Time\" < ?")
                  .arg(selected.join(QStringLiteral(", ")), quoted(table)));
    q.addBindValue(station);
    q.addBindValue(first.startOfDay().toUTC());
    q.addBindValue(first.addMonths(1).startOfDay().toUTC());
    if (!q.exec()) {
        out.error = q.lastError().text();
        return out;
    }
    out.series.resize(size_t(columns.size()));
    const double missing = std::numeric_limits<double>::quiet_NaN();
    while (q.next()) {
        out.times.push_back(qint64(q.value(0).toDouble() * 1000.0 + 0.5));
        for (int i = 0; i < columns.size(); ++i) {
            const QVariant v = q.value(i + 1);
            out.series[size_t(i)].push_back(v.isNull() ? missing : v.toDouble());
        }
    }
    // The rows come in the order they were stored, which is their time order unless a queue
    // was replayed late; sorting here spares the server a sort of the whole month.
    if (!std::is_sorted(out.times.begin(), out.times.end())) {
        std::vector<size_t> order(out.times.size());
        std::iota(order.begin(), order.end(), size_t(0));
        std::stable_sort(order.begin(), order.end(),
                         [&out](size_t a, size_t b) { return out.times[a] < out.times[b]; });
        const auto reorder = [&order](auto &values) {
            auto sorted = values;
            for (size_t i = 0; i < order.size(); ++i)
                sorted[i] = values[order[i]];
            values.swap(sorted);
        };
        reorder(out.times);
        for (auto &series : out.series)
            reorder(series);
    }
    return out;
}
