// Loading a photo file for a picture box, fast and safe against huge or broken files.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace card {

// Decodes the JPEG file at path straight to size (the decoder's own scaled decoding, then smooth
// scaling, stretched like a picture box). A null image for anything that cannot be shown: a
// missing, empty, cut-off or non-JPEG file, a file over kMaxPhotoFileBytes, or a picture of more
// than kMaxPhotoPixels. Qt's allocation limit stays in force. An empty size decodes at the
// picture's own size.
QImage loadPhoto(const QString& path, const QSize& size);

// The picture's size from the JPEG file's header alone; empty when there is none to read.
QSize photoSize(const QString& path);

// The same for a photo file's bytes already read (a reference photo kept in the case store).
QImage decodePhoto(const QByteArray& bytes, const QSize& size);

// The picture shown where a swipe has no photo, at its own size.
const QImage& noPhotoPicture();
// The same, fitted into size keeping its shape, for lists of small pictures.
QPixmap noPhotoThumbnail(const QSize& size);

} // namespace card
