// Any page as the forecast server's reply, with any marker texts: the cut must be the part
// of the reply from the start marker's first place to the end marker's next one.
#include "publishing/forecast.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const QString startKey = QString::fromStdString(in.ConsumeRandomLengthString(16));
    const QString endKey = QString::fromStdString(in.ConsumeRandomLengthString(16));
    const QString response = QString::fromStdString(in.ConsumeRemainingBytesAsString());

    const QString cut = cutForecast(response, startKey, endKey);
    const qsizetype start = qMax<qsizetype>(response.indexOf(startKey), 0);
    // The cut is one stretch of the reply, beginning at the start marker when there is one.
    if (QStringView(response).mid(start, cut.size()) != cut)
        std::abort();
    // It stops before the first end marker, and runs to the end of the reply without one.
    const qsizetype end = QStringView(response).mid(start).indexOf(endKey);
    if (cut.size() != (end >= 0 ? end : response.size() - start))
        std::abort();
    return 0;
}
