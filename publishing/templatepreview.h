// Expanding a page template outside the publishing pass, to check it without uploading.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class Clock;
class ReadingsRecord;

struct PreviewResult
{
    QByteArray page;      // what the page file would hold: 8-bit text ending in CR LF
    QString error;        // set when nothing could be expanded
    QStringList warnings; // lines of the readings file that were not used
};

// Reads `Field=Text` lines (as `corvane decode` prints them) into `record`; every line
// that names no field of the record, or has no "=", becomes a warning.
QStringList readReadingsLines(const QString &text, ReadingsRecord &record);

// The page that `templatePath` gives with the readings of `readingsPath` (none when
// empty), the compass words of their directions, no forecast and the clock's time.
PreviewResult previewTemplate(const QString &templatePath, const QString &readingsPath,
                              const Clock &clock);
