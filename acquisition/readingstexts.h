// From decoded group values to the readings record's texts and the gauge values, in the
// display units; and one call that decodes a checked frame into a record.
#pragma once

#include "acquisition/groupdecoder.h"
#include "acquisition/readingsrecord.h"

#include <QDate>
#include <QList>
#include <QString>
#include <optional>
#include <utility>

struct DecodeContext
{
    int displayUnits = 0;               // 0 English, nonzero Metric
    QDate today;                        // for the year of record dates
    std::optional<int> outdoorHumidity; // for the heat index; none before a humidity frame
};

struct GroupReadings
{
    SensorGroup group = SensorGroup::Humidity;
    QList<std::pair<QString, QString>> texts; // field, text
    GaugeValues gauges;

    // The text given to `field`, empty when none.
    QString text(QLatin1String field) const;
};

// The texts of every readable field of `decoded`, converted, plus the main-window texts
// and gauge values that derive from the group.
GroupReadings presentGroup(const DecodedGroup &decoded, const DecodeContext &context);

// Decodes a checked frame and writes its group into `record` at once. The heat index
// reads the outdoor humidity the record holds. False when the frame is not one of the
// five groups.
bool applyFrame(const QByteArray &frame, ReadingsRecord &record, int displayUnits,
                const QDate &today);
