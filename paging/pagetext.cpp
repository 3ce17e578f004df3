// The text that goes down the modem line.
#include "paging/pagetext.h"

QByteArray pageLineText(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            out.append(' ');
        } else if (c == u'\t') {
            out.append(' ');
        } else if (c >= 0x20 && c < 0x7f) {
            out.append(char(c));
        } else if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
                   text.at(i + 1).isLowSurrogate()) {
            ++i; // one character, one "?"
            out.append('?');
        } else {
            out.append('?');
        }
    }
    return out;
}

PageParts splitPageMessage(const QByteArray &message)
{
    if (message.size() <= PagePartLength)
        return {message, {}};
    return {message.left(PagePartLength), message.mid(PagePartLength)};
}
