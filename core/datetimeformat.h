// Fixed U.S. English date and time texts, so that stored texts never follow the locale.
#pragma once

#include <QDateTime>
#include <QString>

// General date: "M/d/yyyy h:mm:ss AM" (12-hour), or the date alone at midnight.
QString generalDate(const QDateTime &dt);
// Short date "M/d/yyyy".
QString shortDate(const QDate &d);
// Long time "h:mm:ss AM".
QString longTime(const QTime &t);
// English day and month names, independent of the locale.
QString englishDayName(int dayOfWeek, bool abbreviated);   // 1 = Monday
QString englishMonthName(int month, bool abbreviated);     // 1 = January
// Reads a general date as generalDate writes it; invalid when the text is not one.
QDateTime parseGeneralDate(const QString &text);
