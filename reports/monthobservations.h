// The records of a month log file that the climate summaries need.
#pragma once

#include "logging/logresult.h"
#include "reports/climatesummary.h"

#include <QList>
#include <QString>

// Reads "Outdoor Data" of the month file at `path` read-only, in the order logged. A record
// whose "Date_Time" is no general date is left out.
LogResult readMonthObservations(const QString &path, QList<Observation> *records);
