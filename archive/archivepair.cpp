// The queue file's line form of a record pair.
#include "archive/archivepair.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

QByteArray encodeArchivePair(const ArchivePair &pair)
{
    QJsonArray values;
    for (const QVariant &v : pair.values)
        values.append(v.isNull() ? QJsonValue() : QJsonValue(v.toString()));
    QJsonObject o;
    o.insert(QStringLiteral("s"), pair.station);
    o.insert(QStringLiteral("o"), pair.outdoorAt.toMSecsSinceEpoch());
    o.insert(QStringLiteral("i"), pair.indoorAt.toMSecsSinceEpoch());
    o.insert(QStringLiteral("v"), values);
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

std::optional<ArchivePair> decodeArchivePair(const QByteArray &line)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    const QJsonObject o = doc.object();
    const QJsonValue station = o.value(QLatin1String("s"));
    const QJsonValue outdoor = o.value(QLatin1String("o"));
    const QJsonValue indoor = o.value(QLatin1String("i"));
    const QJsonArray values = o.value(QLatin1String("v")).toArray();
    if (!station.isString() || !outdoor.isDouble() || !indoor.isDouble() ||
        values.size() != kLogFieldCount)
        return std::nullopt;
    ArchivePair pair;
    pair.station = station.toString();
    pair.outdoorAt = QDateTime::fromMSecsSinceEpoch(outdoor.toInteger(), Qt::UTC);
    pair.indoorAt = QDateTime::fromMSecsSinceEpoch(indoor.toInteger(), Qt::UTC);
    for (int i = 0; i < kLogFieldCount; ++i) {
        const QJsonValue v = values.at(i);
        if (v.isString())
            pair.values[size_t(i)] = v.toString();
        else if (!v.isNull())
            return std::nullopt;
    }
    return pair;
}
