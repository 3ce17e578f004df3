// Token substitution in page and pager templates.
#pragma once

#include <QList>
#include <QString>

// One token of a template language and the text that replaces it.
// A token is an asterisk, one or more characters other than an asterisk, and an asterisk
// ("*TPO*", "*D/T*").
struct TokenValue
{
    QString token;
    QString value;
};

// Tokens with their values, in scan order: where two tokens compete for the same
// asterisk, the one earlier in the list is replaced first.
using TokenValues = QList<TokenValue>;

// Replaces the tokens of `text` by their values, case-sensitively. When no value holds an
// asterisk, the result is that of repeatedly replacing the first occurrence of the first
// token (in list order) found anywhere in the text, for as long as one is found. Runs in
// time linear in the size of the text. The characters of a value never form a token on
// their own, so a value that holds a token (or its own token) is inserted as it stands; a
// value can only complete a token whose two asterisks come from the template, so the work
// always ends. Entries of another shape are ignored; of two with one token, the first counts.
QString ExpandTemplateText(const QString &text, const TokenValues &values);
