// The archive's tables and its multi-row inserts.
#include "archive/archiveschema.h"

#include <QCryptographicHash>
#include <QSqlDriver>
#include <QSqlField>
#include <cmath>
#include <limits>

namespace {

QString quoted(const char *identifier)
{
    return QLatin1Char('"') + QString::fromLatin1(identifier) + QLatin1Char('"');
}

struct TableShape
{
    QString name;
    const LogColumn *columns;
    int count;
    int firstValue; // index of the table's first value among a pair's 80
};

TableShape shape(ArchiveTable table)
{
    if (table == ArchiveTable::Outdoor)
        return {outdoorTableName(), outdoorColumns().data(), kOutdoorColumnCount, 0};
    return {indoorTableName(), indoorColumns().data(), kIndoorColumnCount, kOutdoorColumnCount};
}

QString columnType(LogForm form)
{
    switch (form) {
    case LogForm::Now:
        return QStringLiteral("timestamptz NOT NULL");
    case LogForm::Number:
        return QStringLiteral("double precision");
    case LogForm::Int16:
        return QStringLiteral("smallint");
    case LogForm::Text:
        break;
    }
    return QStringLiteral("text");
}

QString createTable(ArchiveTable table)
{
    const TableShape t = shape(table);
    QStringList defs{QStringLiteral("station text NOT NULL")};
    for (int i = 0; i < t.count; ++i)
        defs << quoted(t.columns[i].column) + QLatin1Char(' ') + columnType(t.columns[i].form);
    defs << QStringLiteral("PRIMARY KEY (station, \"Date_Time\")");
    return QStringLiteral("CREATE TABLE IF NOT EXISTS \"%1\" (%2) PARTITION BY LIST (station)")
        .arg(t.name, defs.join(QStringLiteral(", ")));
}

QString textLiteral(const QSqlDriver &driver, QString text)
{
    text.remove(QChar(0)); // PostgreSQL text cannot hold it
    QSqlField field{QString(), QMetaType(QMetaType::QString)};
    field.setValue(text);
    return driver.formatValue(field);
}

// A part's name: the station's plain characters for people reading the catalogue, a hash of
// the whole name so that no two stations share a part, within PostgreSQL's 63 bytes.
QString partName(const QString &table, const QString &station)
{
    QString plain;
    for (const QChar c : station.left(24))
        plain += c.isLetterOrNumber() && c.unicode() < 128 ? c : QLatin1Char('_');
    const QByteArray hash =
        QCryptographicHash::hash(station.toUtf8(), QCryptographicHash::Sha1).toHex().left(8);
    return QStringLiteral("%1 %2 %3").arg(table, plain, QString::fromLatin1(hash));
}

QString timeLiteral(const QDateTime &at)
{
    return QLatin1Char('\'') + at.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ")) +
           QLatin1Char('\'');
}

QString numberLiteral(const QVariant &value, LogForm form)
{
    bool ok = false;
    const double v = value.toString().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return QStringLiteral("NULL");
    if (form == LogForm::Int16) {
        if (v != std::trunc(v) || v < std::numeric_limits<qint16>::min() ||
            v > std::numeric_limits<qint16>::max())
            return QStringLiteral("NULL");
        return QString::number(qint64(v));
    }
    return QString::number(v, 'g', 17);
}

} // namespace

QStringList archiveSchema()
{
    return QStringList{createTable(ArchiveTable::Outdoor), createTable(ArchiveTable::Indoor)};
}

QStringList archiveStationTables(const QSqlDriver &driver, const QString &station)
{
    QStringList out;
    for (ArchiveTable table : {ArchiveTable::Outdoor, ArchiveTable::Indoor}) {
        const QString name = shape(table).name;
        out << QStringLiteral("CREATE TABLE IF NOT EXISTS \"%1\" PARTITION OF \"%2\" FOR VALUES "
                              "IN (%3)")
                   .arg(partName(name, station), name, textLiteral(driver, station));
    }
    return out;
}

QString archiveInsert(const QSqlDriver &driver, ArchiveTable table,
                      const std::vector<ArchivePair> &pairs)
{
    const TableShape t = shape(table);
    QStringList names{QStringLiteral("station")};
    for (int i = 0; i < t.count; ++i)
        names << quoted(t.columns[i].column);
    QString sql = QStringLiteral("INSERT INTO \"%1\" (%2) VALUES ")
                      .arg(t.name, names.join(QStringLiteral(", ")));
    sql.reserve(sql.size() + int(pairs.size()) * 60 * t.count);
    bool firstRow = true;
    for (const ArchivePair &pair : pairs) {
        sql += firstRow ? QStringLiteral("(") : QStringLiteral(",(");
        firstRow = false;
        sql += textLiteral(driver, pair.station);
        for (int i = 0; i < t.count; ++i) {
            sql += QLatin1Char(',');
            const LogForm form = t.columns[i].form;
            const QVariant &value = pair.values[size_t(t.firstValue + i)];
            if (form == LogForm::Now)
                sql += timeLiteral(table == ArchiveTable::Outdoor ? pair.outdoorAt : pair.indoorAt);
            else if (value.isNull())
                sql += QStringLiteral("NULL");
            else if (form == LogForm::Text)
                sql += textLiteral(driver, value.toString());
            else
                sql += numberLiteral(value, form);
        }
        sql += QLatin1Char(')');
    }
    sql += QStringLiteral(" ON CONFLICT (station, \"Date_Time\") DO NOTHING");
    return sql;
}
