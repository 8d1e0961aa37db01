// The walk over a photo file's marker segments, over arbitrary bytes: never a read out of
// bounds, and the layout it reads keeps its stated limits.
#include "core/photos/photo_file_checks.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    card::JpegLayout layout;
    if (!card::readJpegLayout(bytes, layout))
        return 0;
    if (layout.scans < 1 || layout.scans > card::kMaxJpegScans + 1 ||
        (layout.complete && layout.scans > card::kMaxJpegScans) || layout.coefficientBytes < 0)
        __builtin_trap();
    card::jpegDecodeBounded(layout);
    return 0;
}
