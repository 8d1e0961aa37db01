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

// A picture of several scans is decoded through a buffer of all its coefficients, which the
// decoder allocates beside Qt's allocation limit.
inline constexpr qint64 kMaxJpegCoefficientBytes = 128 * 1024 * 1024;

// The frame and scans of a JPEG file's picture, read from its marker segments.
struct JpegLayout {
    qint64 width = 0;
    qint64 height = 0;
    bool progressive = false;
    int scans = 0; // counted up to kMaxJpegScans + 1
    // Two bytes for each coefficient of the 8 x 8 blocks of every colour component as stored
    // (subsampled colour takes fewer blocks): the buffer of a picture of several scans.
    qint64 coefficientBytes = 0;
    // The end-of-image marker follows the last scan. A file cut off during a write lacks it,
    // although the decoder would silently fill the missing part with grey.
    bool complete = false;
};

// Walks the marker segments of the picture in bytes as the decoder does, skipping stray bytes
// between segments and stopping at its end-of-image marker. False when they hold no frame header
// before a scan, or a malformed one.
bool readJpegLayout(QByteArrayView bytes, JpegLayout& layout);

// True when decoding the picture stays within the bounds above, in time and in memory.
bool jpegDecodeBounded(const JpegLayout& layout);

} // namespace card
