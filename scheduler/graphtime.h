// The time of day of the daily graph setting.
#pragma once

#include <QTime>
#include <QVariant>
#include <optional>

// Only hour and minute count. A date-time or time gives its time; a text is read as a
// general date or a time of day; a number (or numeric text) is a date as a number of days,
// its fraction the time of day; an empty value is midnight, as an empty variant formats
// as "00:00". Anything else gives nothing, and the graph job then never runs.
std::optional<QTime> graphTimeOfDay(const QVariant &value);

// Minutes since midnight, 0-1439.
inline int minuteOfDay(const QTime &t)
{
    return t.hour() * 60 + t.minute();
}
