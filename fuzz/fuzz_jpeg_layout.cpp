// The checks a photo file passes before it is decoded, over arbitrary bytes: never a read out
// of bounds, and a layout that is read is one the checks can judge.
#include "viewer/photo_file_checks.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    card::jpegEndsImage(bytes);
    card::JpegLayout layout;
    if (!card::readJpegLayout(bytes, layout))
        return 0;
    if (layout.scans < 1 || layout.scans > card::kMaxJpegScans + 1 || layout.width > 65535 ||
        layout.height > 65535 || layout.components > 255)
        __builtin_trap();
    card::jpegDecodeBounded(layout);
    return 0;
}
