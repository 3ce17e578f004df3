// The text that goes down the modem line: 7-bit characters and the 80-character split.
#pragma once

#include <QByteArray>
#include <QString>

// Paging services take plain 7-bit characters, and a carriage return ends an entry, so
// a line end or tab inside a message becomes one blank (a CR LF pair counts as one line
// end), and any other control character or character outside 7 bits becomes "?".
QByteArray pageLineText(const QString &text);

// A message of up to 80 characters goes out as one page; a longer one as two pages:
// the first 80 characters, then all the rest (not cut again).
struct PageParts
{
    QByteArray first;
    QByteArray second; // empty for a message of up to 80 characters
};
PageParts splitPageMessage(const QByteArray &message);

constexpr int PagePartLength = 80;
