// The 80 tokens of the web page templates and where each takes its value.
#pragma once

#include "publishing/templateexpander.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

class ReadingsRecord;

// The 80 page tokens in scan order, from "*D/T*" to "*GMT*".
const QStringList &pageTokenNames();

// The page values of one pass: readings texts (trimmed), the pass's two compass words,
// the forecast extract (trimmed), "*D/T*" as the general date of `nowLocal` and "*GMT*"
// as the stamp of `nowUtc`. The pager templates use the same list without "*GMT*".
TokenValues PageTokenValues(const ReadingsRecord &readings, const QString &forecastText,
                            const QString &gustCompassWord, const QString &averageCompassWord,
                            const QDateTime &nowLocal, const QDateTime &nowUtc);

// "Sat, 24 Jul 1999 15:28:03 GMT": English names, 24-hour clock, from a UTC time.
QString GmtStamp(const QDateTime &nowUtc);
