// The pager report templates: the page token language turned into a pager message.
#pragma once

#include "publishing/templateexpander.h"

#include <QDateTime>
#include <QString>
#include <optional>

class ReadingsRecord;

// The pager tokens: the page tokens in their scan order without "*GMT*" (which stays in
// a pager message as written). "*AWDA*" is the record's AverageDirectionWord and "*CWDA*"
// the compass word of GustDirection as it reads now; "*D/T*" is `nowLocal`.
TokenValues PagerTokenValues(const ReadingsRecord &readings, const QString &forecastText,
                             const QDateTime &nowLocal);

// A message, or why there is none.
struct PagerTemplateResult
{
    std::optional<QString> text;
    QString error;
};

// Reads the template file whole (8-bit text, line ends included; a regular file of at
// most 16 MiB) and expands it. No line end is added and no file is written. A template
// that cannot be read gives no text and the reason, naming the file; what follows is the
// caller's decision.
PagerTemplateResult ExpandPagerTemplate(const QString &templatePath, const TokenValues &values);
