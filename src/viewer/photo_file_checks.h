// What a photo file must show before it is decoded: a bounded size and a complete picture.
#pragma once

#include <QByteArrayView>
#include <QtGlobal>

namespace card {

// Camera photos are a few megapixels; a header claiming more is refused before any decoding.
inline constexpr qint64 kMaxPhotoPixels = 50'000'000;

// Far above any JPEG of kMaxPhotoPixels from a camera; a larger file is refused unread.
inline constexpr qint64 kMaxPhotoFileBytes = 64 * 1024 * 1024;

// True when a picture of this size may be decoded.
bool photoSizeAllowed(qint64 width, qint64 height);

// A camera writes one scan, an encoder of progressive pictures about ten; each scan costs a pass
// over the whole picture, so a file of thousands of tiny scans would take minutes to decode.
inline constexpr int kMaxJpegScans = 64;

// A picture of several scans is decoded through a buffer of all its coefficients (two bytes per
// pixel and colour component), which the decoder allocates beside Qt's allocation limit.
inline constexpr qint64 kMaxJpegCoefficientBytes = 128 * 1024 * 1024;

// The frame and scans of a JPEG file's picture, read from its marker segments.
struct JpegLayout {
    qint64 width = 0;
    qint64 height = 0;
    int components = 0;
    bool progressive = false;
    int scans = 0; // counted up to kMaxJpegScans + 1
};

// The layout of the picture in bytes; false when they hold no well-formed JPEG frame.
bool readJpegLayout(QByteArrayView bytes, JpegLayout& layout);

// True when decoding the picture stays within the bounds above, in time and in memory.
bool jpegDecodeBounded(const JpegLayout& layout);

// True when the bytes of a JPEG file close its picture: an end-of-image marker that no
// start-of-scan marker follows. A file cut off during a write fails this, although the decoder
// would silently fill the missing part with grey.
bool jpegEndsImage(QByteArrayView bytes);

} // namespace card
