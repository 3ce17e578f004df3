// Token substitution in page and pager templates.
#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <functional>

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
// time linear in the size of the text for a given list (one sweep per token that occurs).
// The characters of a value never form a token on their own, so a value that holds a token
// (or its own token) is inserted as it stands; a value can only complete a token whose two
// asterisks come from the template, so the work always ends. Entries of another shape are
// ignored; of two with one token, the first counts; entries past the 32,752nd are ignored.
QString ExpandTemplateText(const QString &text, const TokenValues &values);

// Takes the next piece of an expanded page; false stops the expansion.
using ByteSink = std::function<bool(QByteArrayView piece)>;

// The same expansion over 8-bit (Latin-1) text, as page files hold it: tokens and values
// are taken as Latin-1 (a value's other characters become "?", a token with any is
// ignored), and the expanded bytes go to `sink` in order, as they are made, gathered into
// pieces of up to 64 KiB (a stretch of the template without tokens may come whole). The
// expansion holds no copy of the text: its working memory is 6 bytes per asterisk of the
// longest stretch in which tokens can form. False when the sink stopped it.
bool ExpandTemplateBytes(QByteArrayView text, const TokenValues &values, const ByteSink &sink);
