// Arbitrary bytes as the contents of "Corvane.cfg": the reader must never crash, and
// whatever it read must come back unchanged from a write and a second read.
#include "config/configfile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void fail(const char *why)
{
    std::fprintf(stderr, "fuzz_config: %s\n", why);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const ConfigValues values =
        parseConfigValues(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (values.size() > ConfigValueCount)
        fail("more than 59 values read");
    Configuration config;
    applyConfigValues(values, config);

    const ConfigFormatResult written = formatConfiguration(config);
    if (!written.ok()) {
        if (written.field.isEmpty() || !written.error.contains(written.field))
            fail("a refusal that names no field");
        return 0;
    }
    if (written.bytes.count("\r\n") < ConfigValueCount)
        fail("fewer than 59 lines written");

    const ConfigValues reread = parseConfigValues(written.bytes);
    if (reread.size() != ConfigValueCount)
        fail("the written file does not hold 59 values");
    Configuration back;
    applyConfigValues(reread, back);
    if (!sameConfiguration(back, configurationAsSaved(config)))
        fail("values changed through a write and a read");
    if (formatConfiguration(back).bytes != written.bytes)
        fail("a file written by us is not rewritten byte for byte");
    return 0;
}
