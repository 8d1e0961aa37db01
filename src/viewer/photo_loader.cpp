#include "viewer/photo_loader.h"

#include "viewer/photo_file_checks.h"

#include <QFile>
#include <QImageReader>
#include <QLabel>

namespace card {

namespace {

// Any quality from 50 up makes the JPEG decoder use its accurate transform and smooth scaling.
constexpr int kSmoothDecoding = 100;

bool endsAsCompleteJpeg(QFile& file) {
    const qint64 tailStart = qMax<qint64>(0, file.size() - kJpegTailBytes);
    if (!file.seek(tailStart))
        return false;
    const QByteArray tail = file.read(kJpegTailBytes);
    return jpegTailEndsImage(tail) && file.seek(0);
}

} // namespace

QImage loadPhoto(const QString& path, const QSize& size) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !endsAsCompleteJpeg(file))
        return {};
    QImageReader reader(&file, "jpeg");
    reader.setAutoDetectImageFormat(false);
    const QSize pictureSize = reader.size();
    if (!pictureSize.isValid() || !photoSizeAllowed(pictureSize.width(), pictureSize.height()))
        return {};
    if (!size.isEmpty())
        reader.setScaledSize(size);
    reader.setQuality(kSmoothDecoding);
    return reader.read();
}

QPixmap photoForBox(const QLabel& box, const QString& path) {
    const qreal ratio = box.devicePixelRatioF();
    const QImage photo = loadPhoto(path, box.contentsRect().size() * ratio);
    if (photo.isNull())
        return {};
    return QPixmap::fromImage(photo);
}

} // namespace card
