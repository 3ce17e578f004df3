// The reference of the page and pager tokens (docs/tokens.md), made from the token tables.
#pragma once

#include "publishing/templateexpander.h"

#include <QString>

// What a token stands for and the form of its text, in words.
struct TokenMeaning
{
    QString meaning;
    QString form;
};

// The meaning of one of the 80 page tokens; empty for any other text.
TokenMeaning pageTokenMeaning(const QString &token);

// The Markdown reference: one row per page token in scan order with its meaning, its form,
// whether pager templates know it, and its value in `pageExamples` (the page values of
// one pass, in the order PageTokenValues gives them). `pagerTokens` are the tokens of the
// pager table. A token without a meaning is listed as "undocumented".
QString tokenReferenceMarkdown(const TokenValues &pageExamples, const TokenValues &pagerTokens);
