// One query per month read, its rows in PostgreSQL's binary form.
//
// Qt's driver asks for text: the server would format and corvane parse again some 270,000
// numbers a month, most of the read's time. libpq on the driver's own connection takes the
// rows as they are stored.
#include "archive/archivereader.h"

#include <QDateTime>
#include <QSqlDriver>
#include <QtEndian>

#include <libpq-fe.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <numeric>

namespace {

// PostgreSQL's type numbers (pg_type.dat) of the columns a log table has.
constexpr Oid kInt2 = 21, kInt4 = 23, kInt8 = 20, kFloat4 = 700, kFloat8 = 701;
constexpr Oid kTimestampTz = 1184;
// The server counts time in microseconds from 2000-01-01 00:00 UTC.
constexpr qint64 kPostgresEpochMs = 946684800000LL;

template <typename T>
T bigEndian(const char *bytes)
{
    T v;
    std::memcpy(&v, bytes, sizeof v);
    return qFromBigEndian(v);
}

template <typename To, typename From>
To sameBits(From from)
{
    static_assert(sizeof(To) == sizeof(From));
    To to;
    std::memcpy(&to, &from, sizeof to);
    return to;
}

constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();

double numberOf(const PGresult *r, int row, int column, Oid type)
{
    if (PQgetisnull(r, row, column))
        return kMissing;
    const char *bytes = PQgetvalue(r, row, column);
    const int length = PQgetlength(r, row, column);
    switch (type) {
    case kFloat8:
        return length == 8 ? sameBits<double>(bigEndian<quint64>(bytes)) : kMissing;
    case kFloat4:
        return length == 4 ? double(sameBits<float>(bigEndian<quint32>(bytes))) : kMissing;
    case kInt2:
        return length == 2 ? double(bigEndian<qint16>(bytes)) : kMissing;
    case kInt4:
        return length == 4 ? double(bigEndian<qint32>(bytes)) : kMissing;
    case kInt8:
        return length == 8 ? double(bigEndian<qint64>(bytes)) : kMissing;
    default: {
        // A text column: its number, as a month file's text would give it.
        bool ok = false;
        const double v = QByteArray::fromRawData(bytes, length).trimmed().toDouble(&ok);
        return ok ? v : kMissing;
    }
    }
}

QString quoted(QString name)
{
    return QLatin1Char('"') + name.replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

QByteArray utcText(const QDate &day)
{
    return day.startOfDay().toUTC().toString(Qt::ISODateWithMs).toUtf8();
}

} // namespace

ArchiveMonth readArchiveMonth(QSqlDatabase &db, const QString &table, const QString &station,
                              const QDate &month, const QStringList &columns)
{
    ArchiveMonth out;
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    // The driver names the type by its struct, "pg_conn*".
    PGconn *conn = handle.isValid() && (qstrcmp(handle.typeName(), "PGconn*") == 0 ||
                                        qstrcmp(handle.typeName(), "pg_conn*") == 0)
                       ? *static_cast<PGconn *const *>(handle.data())
                       : nullptr;
    if (!conn || PQstatus(conn) != CONNECTION_OK) {
        out.error = QStringLiteral("not connected to a PostgreSQL archive");
        return out;
    }
    QStringList selected{QStringLiteral("\"Date_Time\"")};
    for (const QString &c : columns)
        selected << quoted(c);
    const QByteArray sql = QStringLiteral("SELECT %1 FROM %2 WHERE station = $1 AND "
                                          "\"Date_Time\" >= $2 AND \"Date_Time\" < $3")
                               .arg(selected.join(QStringLiteral(", ")), quoted(table))
                               .toUtf8();
    const QDate first(month.year(), month.month(), 1);
    const QByteArray params[] = {station.toUtf8(), utcText(first), utcText(first.addMonths(1))};
    const char *values[] = {params[0].constData(), params[1].constData(), params[2].constData()};
    const std::unique_ptr<PGresult, decltype(&PQclear)> result(
        PQexecParams(conn, sql.constData(), 3, nullptr, values, nullptr, nullptr, 1), PQclear);
    const PGresult *r = result.get();
    if (PQresultStatus(r) != PGRES_TUPLES_OK) {
        out.error = QString::fromUtf8(PQresultErrorMessage(r)).trimmed();
        if (out.error.isEmpty())
            out.error = QString::fromUtf8(PQerrorMessage(conn)).trimmed();
        return out;
    }
    if (PQftype(r, 0) != kTimestampTz) {
        out.error = QStringLiteral("\"Date_Time\" of %1 is not a timestamptz").arg(table);
        return out;
    }
    const int rows = PQntuples(r);
    out.times.reserve(size_t(rows));
    out.series.assign(size_t(columns.size()), {});
    for (auto &s : out.series)
        s.reserve(size_t(rows));
    std::vector<Oid> types;
    for (int c = 0; c < columns.size(); ++c)
        types.push_back(PQftype(r, c + 1));
    for (int row = 0; row < rows; ++row) {
        if (PQgetisnull(r, row, 0) || PQgetlength(r, row, 0) != 8)
            continue; // the key is NOT NULL; anything else is not a row of ours
        const qint64 us = bigEndian<qint64>(PQgetvalue(r, row, 0));
        // Floor division: instants before 2000 count down from the server's epoch.
        out.times.push_back(kPostgresEpochMs + (us >= 0 ? us / 1000 : -((-us + 999) / 1000)));
        for (int c = 0; c < columns.size(); ++c)
            out.series[size_t(c)].push_back(numberOf(r, row, c + 1, types[size_t(c)]));
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
