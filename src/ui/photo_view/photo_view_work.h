// What the photo window has done on siteIoPool(): photo lookups and decoding. Every function
// here blocks on the site's files.
#pragma once

#include "core/photos/photo_find.h"
#include "core/records/swipe.h"

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

namespace card {

struct FramePhoto {
    int frame = 0; // 1 to 5; 0 for a still photo
    QString path;
};

struct SwipePhotos {
    PhotoOutcome outcome = PhotoOutcome::None;
    // A still photo, or the present frames of a sequence in frame order (each tested on its
    // own, the folder is never listed); empty without photo.
    QList<FramePhoto> frames;
};

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
