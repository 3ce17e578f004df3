// One logged record pair on its way to the archive, and its line in the queue file.
#pragma once

#include "logging/logschema.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <array>
#include <optional>

struct ArchivePair
{
    QString station;
    QDateTime outdoorAt; // the instants of the two records' "Date_Time"
    QDateTime indoorAt;
    std::array<QVariant, kLogFieldCount> values; // as the month file got them
};

// One line of JSON (without its line end); times as UTC milliseconds, so the queue means the
// same whatever the time zone when it is replayed.
QByteArray encodeArchivePair(const ArchivePair &pair);
// Empty when the line is not one encodeArchivePair wrote (a line cut short by a crash).
std::optional<ArchivePair> decodeArchivePair(const QByteArray &line);
