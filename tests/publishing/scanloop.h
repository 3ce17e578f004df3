// The plain substitution loop, kept as the reference that the fast expansion must match.
#pragma once

#include "publishing/templateexpander.h"

// Takes the first token in list order that occurs anywhere in the text, replaces its first
// occurrence, and starts again, until no token occurs. Quadratic, and endless when a value
// holds its own token: use only with values free of asterisks.
inline QString scanLoopExpand(QString text, const TokenValues &values)
{
    for (;;) {
        bool replaced = false;
        for (const TokenValue &tv : values) {
            const qsizetype p = text.indexOf(tv.token);
            if (p < 0)
                continue;
            text = text.left(p) + tv.value + text.mid(p + tv.token.size());
            replaced = true;
            break;
        }
        if (!replaced)
            return text;
    }
}
