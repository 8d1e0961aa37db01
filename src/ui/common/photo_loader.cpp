#include "ui/common/photo_loader.h"

#include "core/photos/photo_file_checks.h"
#include "core/platform/file_bytes.h"
#include "ui/common/photo_texts.h"

#include <QBuffer>
#include <QImageReader>

namespace card {

namespace {

// Any quality from 50 up makes the JPEG decoder use its accurate transform and smooth scaling.
constexpr int kSmoothDecoding = 100;

// False when bytes are no complete JPEG, hold too large a picture or would cost too much to
// decode.
bool decodable(const QByteArray& bytes)
{
    JpegLayout layout;
    return readJpegLayout(bytes, layout) && layout.complete &&
           photoSizeAllowed(layout.width, layout.height) && jpegDecodeBounded(layout);
}

} // namespace

// The whole file is read first: from memory the decoder reads faster than from a file.
QImage loadPhoto(const QString& path, const QSize& size)
{
    QByteArray bytes;
    if (readFileSnapshot(path, kMaxPhotoFileBytes, bytes) != FileReadStatus::Ok)
        return {};
    return decodePhoto(bytes, size);
}

QSize photoSize(const QString& path)
{
    QImageReader header(path, "jpeg");
    header.setAutoDetectImageFormat(false);
    return header.size();
}

QImage decodePhoto(const QByteArray& bytes, const QSize& size)
{
    if (!decodable(bytes))
        return {};
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    reader.setAutoDetectImageFormat(false);
    if (!size.isEmpty())
        reader.setScaledSize(size);
    reader.setQuality(kSmoothDecoding);
    return reader.read();
}

const QImage& noPhotoPicture()
{
    static const QImage picture(kNoPhotoPicture.toString());
    return picture;
}

QPixmap noPhotoThumbnail(const QSize& size)
{
    return QPixmap::fromImage(
        noPhotoPicture().scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

} // namespace card
