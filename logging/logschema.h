// The two log tables: their columns, where each value comes from, and how it is written.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <array>
#include <vector>

class ReadingsRecord;

// How a reading's text becomes a column value.
enum class LogForm {
    Now,    // the current date and time as a general date
    Number, // text -> double -> text: "72.0" is stored as 72
    Int16,  // text -> 16-bit integer -> text
    Text    // the text as shown
};

struct LogColumn
{
    const char *column; // exact column name, odd spellings included
    const char *field;  // readings field; empty for the clock
    LogForm form;
};

inline constexpr int kOutdoorColumnCount = 52;
inline constexpr int kIndoorColumnCount = 28;
inline constexpr int kLogFieldCount = kOutdoorColumnCount + kIndoorColumnCount;

QString outdoorTableName(); // "Outdoor Data"
QString indoorTableName();  // "Indoor Data"

const std::array<LogColumn, kOutdoorColumnCount> &outdoorColumns();
const std::array<LogColumn, kIndoorColumnCount> &indoorColumns();

// Column `i` of the 80 in order: 0-51 outdoors, 52-79 indoors.
const LogColumn &logColumn(int i);

// The text a column receives for `text` in `form`, or a null QVariant when the text does
// not convert (empty, "N/A", out of range). `now` is used by LogForm::Now only.
QVariant logValue(const QString &text, LogForm form, const QDateTime &now);

// The 80 values of one record pair, filled from the readings at `now`; a reading that does
// not convert leaves its value null, so that column stays empty.
std::array<QVariant, kLogFieldCount> FillLogFields(const ReadingsRecord &record,
                                                   const QDateTime &now);

// The statements that build the empty template database.
QStringList logTemplateSchema();
