// A modem's replies in any pieces: the bounded matcher must see a reply at exactly the read
// at which a search of everything received would first find it.
#include "paging/replymatcher.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    QList<QByteArray> replies;
    const int count = in.ConsumeIntegralInRange(1, 3);
    for (int i = 0; i < count; ++i)
        replies << QByteArray::fromStdString(in.ConsumeRandomLengthString(12));

    ReplyMatcher matcher;
    matcher.expect(replies);
    QByteArray everything;
    bool expected = false;
    for (const QByteArray &r : replies)
        expected = expected || r.isEmpty();
    if (matcher.found() != expected)
        std::abort();
    while (in.remaining_bytes() > 0) {
        const QByteArray piece = QByteArray::fromStdString(in.ConsumeRandomLengthString(64));
        everything += piece;
        for (const QByteArray &r : replies)
            expected = expected || everything.contains(r);
        if (matcher.feed(piece) != expected)
            std::abort();
        if (!everything.endsWith(matcher.progress()) ||
            matcher.progress().size() != qMin(everything.size(), ReplyMatcher::ProgressLimit))
            std::abort();
    }
    return 0;
}
