// libFuzzer harness over the frame handler and the group decoders: any bytes, cut into
// any pieces with any timing, must never crash, and no frame whose sum fails may reach
// the decoders.
#include "acquisition/bitconversions.h"
#include "acquisition/framehandler.h"
#include "acquisition/grouplayout.h"
#include "acquisition/readingsrecord.h"
#include "acquisition/readingstexts.h"

#include <QDate>
#include <cstdint>
#include <cstdlib>

namespace {

class CheckingWriter final : public FrameHandler::Listener
{
public:
    explicit CheckingWriter(int units) : m_units(units) {}
    void frameChecked(const QByteArray &frame) override
    {
        const GroupLayout *layout =
            frame.isEmpty() ? nullptr : layoutForIdentifier(quint8(frame.at(0)));
        if (!layout || frame.size() != layout->length || !checksumMatches(frame))
            std::abort();
        applyFrame(frame, m_record, m_units, QDate(2026, 1, 2));
    }

private:
    ReadingsRecord m_record;
    int m_units;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    // The first byte chooses the units (bit 7), the gap between pieces in steps of
    // 60 ms (bits 6..4, so some gaps pass the 0.3 s limit) and the piece size (bits 3..0).
    const uint8_t control = data[0];
    const auto pieceSize = size_t((control & 0x0F) + 1);
    const qint64 gapMs = ((control >> 4) & 0x7) * 60;
    CheckingWriter writer(control >> 7);
    FrameStream stream(writer);
    qint64 now = 0;
    for (size_t pos = 1; pos < size; pos += pieceSize) {
        const size_t n = pos + pieceSize <= size ? pieceSize : size - pos;
        stream.feed(QByteArrayView(data + pos, qsizetype(n)), now);
        now += gapMs;
    }
    stream.finish();

    // The decoders themselves on unchecked bytes: every nibble value in every field.
    const QByteArray raw =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    if (const auto decoded = decodeGroup(raw)) {
        DecodeContext context;
        context.displayUnits = control >> 7;
        context.today = QDate(2026, 1, 2);
        context.outdoorHumidity = control & 0x7F;
        presentGroup(*decoded, context);
    }
    return 0;
}
