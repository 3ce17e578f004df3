// Writes one record pair to the month's log file at each logging time.
#pragma once

#include "logging/logresult.h"
#include "logging/logschema.h"

#include <QDate>
#include <QString>
#include <QVariant>
#include <array>
#include <functional>

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

    // The 80 values of a record pair: 0-51 for "Outdoor Data", 52-79 for "Indoor Data".
    using PairValues = std::array<QVariant, kLogFieldCount>;

    // The two halves of a logging pass, which LoggingPass runs 3 s apart. Both records
    // go to the file of `month`, the month in which the pass began.
    // The "Started" title, the month's file made when missing, and the readings of this
    // moment, of which the "Outdoor Data" record takes its values.
    PairValues startPass(const QDate &month);
    // The readings of this moment for the "Indoor Data" record, both records written in one
    // transaction, then "Completed" or, when they were not written, "Failed"; the result is
    // the whole pass's.
    LogResult completePass(const QDate &month, const PairValues &outdoor);

    // Both records of a pair into the file at `path`, in one transaction, so that a kill or
    // a power cut leaves both or neither. Columns a table lacks are left out; a record that
    // cannot be written takes the other with it.
    LogResult writePair(const QString &path, const PairValues &values);

    // Told of each pair once it is in the month's file, with the instants its two
    // "Date_Time" texts stand for (the texts alone are ambiguous in the hour that repeats when
    // summer time ends). Runs on the pass's thread; it must not wait.
    using PairWritten = std::function<void(const QDateTime &outdoorAt, const QDateTime &indoorAt,
                                           const PairValues &values)>;
    void setPairWritten(PairWritten handler) { m_pairWritten = std::move(handler); }

private:
    Clock &m_clock;
    const ReadingsRecord &m_record;
    StatusBoard &m_status;
    QString m_directory;
    int m_busyTimeoutMs = 2000;
    QString m_reportedCreateError;
    QDateTime m_outdoorAt; // when startPass took the outdoor readings
    PairWritten m_pairWritten;
};
