#include "viewer/photo_file_checks.h"

namespace card {

namespace {

// Inside compressed picture data a 0xFF byte is always followed by 0x00 or a restart code, so
// these pairs only occur as real markers there.
constexpr char kEndOfImage[] = "\xFF\xD9";
constexpr char kStartOfScan[] = "\xFF\xDA";

} // namespace

bool photoSizeAllowed(qint64 width, qint64 height)
{
    return width > 0 && height > 0 && width * height <= kMaxPhotoPixels;
}

bool jpegEndsImage(QByteArrayView bytes)
{
    const qsizetype end = bytes.lastIndexOf(QByteArrayView(kEndOfImage, 2));
    if (end < 0)
        return false;
    return bytes.sliced(end).indexOf(QByteArrayView(kStartOfScan, 2)) < 0;
}

} // namespace card
