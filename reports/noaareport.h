// The monthly and yearly NOAA summaries of the month files in a program directory.
#pragma once

#include "reports/climatesummary.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

struct NoaaOptions
{
    QString directory;       // where the month files are
    SummaryUnits units;      // the units the records were logged in
    int intervalMinutes = 0; // the logging interval; 0: the step the records show
    QDateTime now;           // days after this are not counted
};

struct NoaaResult
{
    QString text;
    QString error; // set when there was no month file to read
};

// The summary of one month from its file.
NoaaResult noaaMonthReport(int year, int month, const NoaaOptions &options);
// The summary of a year: every month up to `now` with a file; a year without any fails.
NoaaResult noaaYearReport(int year, const NoaaOptions &options);
// "NOAA-2026-01.txt", "NOAA-2026.txt": the names the files are uploaded under.
QString noaaFileName(int year, int month = 0);

// Writes the summaries of `day`'s month and year into `options.directory` under those
// names, each replacing the old file only when complete. Returns the files written; why
// another was not goes to `problems`.
QStringList writeNoaaFiles(const QDate &day, const NoaaOptions &options, QStringList *problems);
