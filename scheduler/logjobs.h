// What the scheduler asks of the monthly log: the month's file and the record pair.
#pragma once

#include <QDate>

class LogJobs
{
public:
    virtual ~LogJobs() = default;
    // Creates the file of the month of `date` when it is missing.
    virtual void createMonthDatabase(const QDate &date) = 0;
    // Writes one record to each log table; may let events run (the wait between them).
    virtual void writeLogRecords() = 0;
};
