#include "ui/common/photo_loader.h"

#include "core/photos/photo_file_checks.h"
#include "core/platform/file_bytes.h"

#include <QBuffer>
#include <QImageReader>

namespace card {

namespace {

// Any quality from 50 up makes the JPEG decoder use its accurate transform and smooth scaling.
constexpr int kSmoothDecoding = 100;

// The whole file, or nothing when it cannot be read, is too large, is no complete JPEG, holds
// too large a picture or would cost too much to decode. From memory the decoder also reads
// faster than from a file.
QByteArray completeJpegBytes(const QString& path)
{
    QByteArray bytes;
    JpegLayout layout;
    if (readFileSnapshot(path, kMaxPhotoFileBytes, bytes) != FileReadStatus::Ok ||
        !readJpegLayout(bytes, layout) || !layout.complete ||
        !photoSizeAllowed(layout.width, layout.height) || !jpegDecodeBounded(layout))
        return {};
    return bytes;
}

} // namespace

QImage loadPhoto(const QString& path, const QSize& size)
{
    QByteArray bytes = completeJpegBytes(path);
    if (bytes.isEmpty())
        return {};
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    reader.setAutoDetectImageFormat(false);
    if (!size.isEmpty())
        reader.setScaledSize(size);
    reader.setQuality(kSmoothDecoding);
    return reader.read();
}

} // namespace card
