// The pure rules of the daily graphs: label texts, which records carry a label, the day window.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

// Exactly 20 characters: the value's text without outer blanks, cut or padded with blanks.
QString PadLabel(const QVariant &value);

// The record positions that get a date/time label when `labelCount` labels are asked of
// `span` records: every (span / labelCount - 1)th of the `records`, from position 0. A step
// below 1 labels position 0 alone; no labels are asked for at a count of 0 or less.
QVector<int> labelPositions(int records, int labelCount, int span);

// The chart window's date/time labels: `labelCount` (2 or more) labels over `records` give
// a step of records / (labelCount - 1), so that 288 records and 24 labels step by 12.
int dateTimeLabelStep(int records, int labelCount);
// The label walk: positions 0, step, 2 x step, ... below `records`. A step below 1 labels
// position 0 alone.
QVector<int> labelWalk(int records, int step);

// The first and last record position of one day of the month, found in the records'
// date/time texts (general dates, in record order). The search stops at the first record
// of a later day. first is -1 when the day has no record.
struct DayWindow
{
    int first = -1;
    int last = -1;
    bool isEmpty() const { return first < 0; }
};
DayWindow findDayWindow(const QStringList &dateTimes, int day);
