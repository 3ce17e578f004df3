// What the chart window decides from field names alone.
#pragma once

#include <QString>
#include <QStringList>

// The first field whose name contains "Time", "Date", "TIME" or "DATE", or -1. Other
// spellings do not count: "Update" is no date field, "UpdateTime" is.
int findDateTimeField(const QStringList &fields);

// An axis title with one more series: the name alone on an empty title, otherwise
// appended after " & ".
QString appendAxisTitle(const QString &title, const QString &field);
