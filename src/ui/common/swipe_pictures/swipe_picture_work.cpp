#include "ui/common/swipe_pictures/swipe_picture_work.h"

#include "core/platform/file_exists.h"
#include "ui/common/photo_loader.h"

namespace card {

SwipePhotos findSwipePhotos(const Swipe& swipe, const ExistenceTest& exists)
{
    return findSwipePhotos(swipe.photoFolder, swipe.card, swipe.day, swipe.time, exists);
}

FittedPhoto loadFittedPhoto(const QString& path, const QSize& box)
{
    // The header alone gives the shape; loadPhoto then applies every safety check.
    const QSize fullSize = photoSize(path);
    if (fullSize.isEmpty())
        return {};
    QSize target = fullSize.scaled(box, Qt::KeepAspectRatio);
    if (target.width() >= fullSize.width() || target.isEmpty())
        target = fullSize;
    QImage image = loadPhoto(path, target);
    if (image.isNull())
        return {};
    return {std::move(image), fullSize};
}

QImage swipeThumbnail(const Swipe& swipe, const QSize& box)
{
    const SwipePhotos photos = findSwipePhotos(swipe, fileExists);
    if (photos.frames.isEmpty())
        return {};
    return loadFittedPhoto(photos.frames.constLast().path, box).image;
}

} // namespace card
