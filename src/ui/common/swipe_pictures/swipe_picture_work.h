// A swipe's photos found and decoded, for every window that shows them. Every function here
// blocks on the site's files: call them on siteIoPool().
#pragma once

#include "core/photos/swipe_photos.h"
#include "core/records/swipe.h"

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

namespace card {

// The photos of swipe, found as the main window finds them.
SwipePhotos findSwipePhotos(const Swipe& swipe, const ExistenceTest& exists);

// The photo at path decoded to fit box (keeping its shape; never larger than the picture
// itself), with the picture's own size. A null image when it cannot be shown.
struct FittedPhoto {
    QImage image;
    QSize fullSize;
};
FittedPhoto loadFittedPhoto(const QString& path, const QSize& box);

// The small picture of swipe's still photo or highest frame; null without a photo that can
// be shown.
QImage swipeThumbnail(const Swipe& swipe, const QSize& box);

} // namespace card
