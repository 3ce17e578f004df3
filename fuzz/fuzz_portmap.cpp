// Any bytes as "Ports.cfg": the reader must never crash, map only clean device paths, and
// read back what it mapped when that is written out again as `k=path` lines.
#include "acquisition/serialport.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QHash<int, QString> devices =
        parsePortMap(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    QByteArray rewritten;
    for (auto it = devices.cbegin(); it != devices.cend(); ++it) {
        const QString &path = it.value();
        if (path.isEmpty() || path != path.trimmed() || path.contains(QLatin1Char('\n')))
            std::abort();
        rewritten += QByteArray::number(it.key()) + '=' + path.toUtf8() + '\n';
    }
    if (parsePortMap(rewritten) != devices)
        std::abort();
    return 0;
}
