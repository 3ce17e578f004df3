// The unit captions of every window, English and Metric.
#pragma once

#include <QList>
#include <QString>

struct UnitCaption
{
    QString window;  // "Wx", "Temperature", "Dewpoint", "Barometer", "Rain", "Wind", "Humidity"
    QString label;   // control name, "Label29"
    QString english;
    QString metric;
};

// Every switched caption, window by window in the order they are applied.
const QList<UnitCaption> &unitCaptions();

// The caption of one label for the given units (0 English, nonzero Metric); empty when
// the label has no switched caption. The Humidity window's Label4 reads "%" in both.
QString unitCaption(const QString &window, const QString &label, int displayUnits);
