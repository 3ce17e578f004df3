// Turning a page template into the page file that is uploaded.
#pragma once

#include "publishing/templateexpander.h"

#include <QString>

struct RenderResult
{
    bool written = false;
    QString error;             // why no page was written; empty when written
    bool templateRead = false; // false: the template was missing or refused, the page is empty
    QString templateError;     // why the template was not read, naming it
};

// Reads the template (8-bit text, byte for byte; a regular file of at most 16 MiB), expands
// it and writes the expanded text plus CR LF to `outputPath`, readable by everyone (0644:
// pages are public). With `deleteFirst` an existing output file is deleted before anything
// else. A template that is missing or refused gives a page of just CR LF. The page is
// written whole or not at all: when it cannot be written, no new page is left behind and an
// earlier one that was not deleted stays as it was.
RenderResult RenderPage(const QString &templatePath, const QString &outputPath, bool deleteFirst,
                        const TokenValues &values);
