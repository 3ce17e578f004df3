// Any pager template over any readings: the message that goes down the modem line must hold
// only printable 7-bit characters and split into parts that add up to it.
#include "acquisition/readingsrecord.h"
#include "paging/pagetext.h"
#include "publishing/pagertemplate.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>

namespace {

// The token tables of a few kinds of readings, made once: building them is the slow part and
// the template is what this harness explores.
const QList<TokenValues> &tokenTables()
{
    static const QList<TokenValues> tables = [] {
        const QDateTime now(QDate(2026, 12, 8), QTime(23, 59, 59), Qt::UTC);
        QList<TokenValues> all;
        ReadingsRecord readings; // nothing received yet
        all << PagerTokenValues(readings, QString(), now);
        int i = 0;
        for (const QString &field : ReadingsRecord::fieldNames())
            readings.setText(field, QString::number(i++ * 7.5 - 40));
        all << PagerTokenValues(readings, QStringLiteral("Sunny, then *TPO* again"), now);
        // Texts a damaged frame or file could leave: control characters, asterisks, 8-bit.
        for (const QString &field : ReadingsRecord::fieldNames())
            readings.setText(field, QString::fromLatin1("*\t\r\n\xe9\x7f*D/T*"));
        all << PagerTokenValues(readings, QString::fromUtf8("\u00e9t\u00e9\r\n\u2603"), now);
        return all;
    }();
    return tables;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const QList<TokenValues> &tables = tokenTables();
    const TokenValues &values = tables.at(in.ConsumeIntegralInRange<qsizetype>(0, tables.size() - 1));
    const std::string bytes = in.ConsumeRemainingBytesAsString();

    const QString message =
        ExpandTemplateText(QString::fromLatin1(bytes.data(), qsizetype(bytes.size())), values);
    const QByteArray line = pageLineText(message);
    for (const char c : line) {
        if (c < 0x20 || c > 0x7E)
            std::abort();
    }
    const PageParts parts = splitPageMessage(line);
    if (parts.first + parts.second != line || parts.first.size() > PagePartLength ||
        (line.size() > PagePartLength) == parts.second.isEmpty())
        std::abort();
    return 0;
}
