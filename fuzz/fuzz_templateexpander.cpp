// Any page template with any tokens and values: the text and byte expansions must agree,
// and without asterisks in the values both must equal plain first-token-first replacement.
#include "publishing/templateexpander.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>

namespace {

QString latin1(const std::string &s)
{
    return QString::fromLatin1(s.data(), qsizetype(s.size()));
}

// The rule the expander promises when no value holds an asterisk, done the slow way.
QString replaceFirstTokenFirst(QString text, const TokenValues &values)
{
    for (bool replaced = true; replaced;) {
        replaced = false;
        for (const TokenValue &v : values) {
            const qsizetype at = text.indexOf(v.token);
            if (at >= 0) {
                text.replace(at, v.token.size(), v.value);
                replaced = true;
                break;
            }
        }
    }
    return text;
}

// A list the reference may use: well-formed tokens, each once, values without asterisks.
bool plainList(const TokenValues &values)
{
    for (qsizetype i = 0; i < values.size(); ++i) {
        const QString &t = values.at(i).token;
        if (t.size() < 3 || !t.startsWith(QLatin1Char('*')) || !t.endsWith(QLatin1Char('*')) ||
            t.mid(1, t.size() - 2).contains(QLatin1Char('*')) ||
            values.at(i).value.contains(QLatin1Char('*')))
            return false;
        for (qsizetype j = 0; j < i; ++j) {
            if (values.at(j).token == t)
                return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    TokenValues values;
    const int count = in.ConsumeIntegralInRange(0, 6);
    for (int i = 0; i < count; ++i) {
        // Mostly well-formed tokens, sometimes whatever the bytes say.
        const std::string name = in.ConsumeRandomLengthString(6);
        const QString token = in.ConsumeBool() ? latin1("*" + name + "*") : latin1(name);
        values.append({token, latin1(in.ConsumeRandomLengthString(12))});
    }
    const std::string bytes = in.ConsumeRemainingBytesAsString();
    const QString text = latin1(bytes);

    const QString expanded = ExpandTemplateText(text, values);
    QByteArray streamed;
    ExpandTemplateBytes(QByteArrayView(bytes.data(), qsizetype(bytes.size())), values,
                        [&streamed](QByteArrayView piece) {
                            if (piece.size() > 64 * 1024)
                                std::abort();
                            streamed.append(piece);
                            return true;
                        });
    if (streamed != expanded.toLatin1())
        std::abort();
    if (plainList(values) && expanded != replaceFirstTokenFirst(text, values))
        std::abort();
    return 0;
}
