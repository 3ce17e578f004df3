// Turning a page template into the page file that is uploaded.
#pragma once

#include "publishing/templateexpander.h"

#include <QString>

struct RenderResult
{
    bool written = false;
    QString error;             // why no page was written; empty when written
    bool templateRead = false; // false: the template was missing or unreadable, the page is empty
};

// Reads the template (8-bit text, byte for byte), expands it and writes the expanded
// text plus CR LF to `outputPath`. With `deleteFirst` an existing output file is deleted
// before anything else. A missing template gives a page of just CR LF. The page is
// written whole or not at all: when it cannot be written, no new page is left behind
// and an earlier one that was not deleted stays as it was.
RenderResult RenderPage(const QString &templatePath, const QString &outputPath, bool deleteFirst,
                        const TokenValues &values);

// The text of an 8-bit template file, each byte one character; empty when unreadable.
QString readLatin1File(const QString &path, bool *ok = nullptr);
