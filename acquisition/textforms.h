// The text forms of the readings record: whole numbers, formatted decimals, times, dates.
#pragma once

#include <QDate>
#include <QString>

// Rounding works on the decimal value a reading stands for, not on its binary
// approximation: 72.05 is 72.0499999... in binary but rounds as 72.05. A value within a
// billionth (relative) of a half counts as the half, which is what a decimal conversion
// to 15 significant digits, as the original's number formatting used, amounts to.

// "Whole": the nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
qint64 roundWhole(double v);
// v * 10^decimals rounded as a number format does: halves away from zero.
qint64 roundFormat(double v, int decimals);
// v formatted with `decimals` places and read back as a number ("000.0" -> 72.1).
double formatAsNumber(double v, int decimals);

// W: whole number without leading zeros ("45", "-3").
QString wholeText(double v);
// D1: formatted "000.0", written as a number with the shortest text ("72.5", "72").
QString oneDecimalText(double v);
// D2: formatted "00.00", written as a number ("29.92", "0.5").
QString twoDecimalText(double v);
// M4: formatted "0000", written as a whole number ("1013").
QString fourDigitText(double v);
// The format "00.0" kept as text: at least two integer digits and one decimal ("05.0").
QString zeroZeroPointZeroText(double v);

// TIME: hour without leading zero, ":", two-digit minute ("7:05").
QString timeText(int hour, int minute);
// TIME2: two-digit hour and minute ("07:05").
QString time2Text(int hour, int minute);
// DATE: month "-" day "-" four-digit year ("6-5-1999"). The console sends no year: the
// record took place on or before `today`, so a month and day later in the year than
// today belong to the year before.
QString dateText(int month, int day, const QDate &today);
// The same with today's date in parts, for callers that form many dates at once.
QString dateText(int month, int day, int todayYear, int todayMonth, int todayDay);
