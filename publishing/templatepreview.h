// Expanding a page template outside the publishing pass, to check it without uploading.
#pragma once

#include "publishing/templateexpander.h"

#include <QString>
#include <QStringList>

class Clock;
class ReadingsRecord;

struct PreviewResult
{
    QString error;        // set when nothing could be expanded
    QStringList warnings; // lines of the readings file that were not used
};

// Reads `Field=Text` lines (as `corvane decode` prints them) into `record`; every line
// that names no field of the record, or has no "=", becomes a warning.
QStringList readReadingsLines(const QString &text, ReadingsRecord &record);

// The page that `templatePath` gives with the readings of `readingsPath` (none when
// empty), the compass words of their directions, no forecast and the clock's time: the
// 8-bit text ending in CR LF that the page file would hold, handed to `page` in pieces.
// Nothing reaches `page` when either file cannot be read; both are read whole first, the
// template up to 16 MiB and the readings up to 1 MiB.
PreviewResult previewTemplate(const QString &templatePath, const QString &readingsPath,
                              const Clock &clock, const ByteSink &page);
