// What a photo file must show before it is decoded: a bounded picture size and a complete file.
#pragma once

#include <QByteArrayView>
#include <QtGlobal>

namespace card {

// Camera photos are a few megapixels; a header claiming more is refused before any decoding.
inline constexpr qint64 kMaxPhotoPixels = 50'000'000;

// How much of a file's end is read to see that the picture data is complete.
inline constexpr qint64 kJpegTailBytes = 64 * 1024;

// True when a picture of this size may be decoded.
bool photoSizeAllowed(qint64 width, qint64 height);

// True when the last bytes of a JPEG file close its picture: an end-of-image marker that no
// start-of-scan marker follows. A file cut off during a write fails this, although the decoder
// would silently fill the missing part with grey.
bool jpegTailEndsImage(QByteArrayView tail);

} // namespace card
