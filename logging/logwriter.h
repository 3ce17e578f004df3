// Writes one record pair to the month's log file at each logging time.
#pragma once

#include "logging/logresult.h"
#include "logging/logschema.h"

#include <QDate>
#include <QString>
#include <QVariant>
#include <vector>

class Clock;
class ReadingsRecord;
class StatusBoard;

class LogWriter
{
public:
    LogWriter(Clock &clock, const ReadingsRecord &record, StatusBoard &status,
              const QString &directory);

    QString directory() const { return m_directory; }
    // How long a write waits for another program's lock before the record is given up.
    void setBusyTimeoutMs(int ms) { m_busyTimeoutMs = ms; }
    int busyTimeoutMs() const { return m_busyTimeoutMs; }

    // Creates the month's file from the template when it is missing. A failure is shown
    // in the title once, not again on every tick while it lasts.
    LogResult ensureMonthDatabase(const QDate &date);

    // The two halves of a logging pass, which LoggingPass runs 3 s apart. Both records
    // go to the file of `month`, the month in which the pass began.
    // The "Started" title and the "Outdoor Data" record.
    LogResult startPass(const QDate &month);
    // The "Indoor Data" record, then "Completed" or, when a record was lost, "Failed";
    // the result is the whole pass's.
    LogResult completePass(const QDate &month, const LogResult &outdoor);

    // One record into `table` of the file at `path`, in a transaction of its own. Columns
    // the table lacks are left out; the values of `columns` go in order.
    LogResult writeRecord(const QString &path, const QString &table, const LogColumn *columns,
                          const QVariant *values, int count);

private:
    Clock &m_clock;
    const ReadingsRecord &m_record;
    StatusBoard &m_status;
    QString m_directory;
    int m_busyTimeoutMs = 2000;
    QString m_reportedCreateError;
};
