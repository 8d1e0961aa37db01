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

// True when the bytes of a JPEG file close its picture: an end-of-image marker that no
// start-of-scan marker follows. A file cut off during a write fails this, although the decoder
// would silently fill the missing part with grey.
bool jpegEndsImage(QByteArrayView bytes);

} // namespace card
