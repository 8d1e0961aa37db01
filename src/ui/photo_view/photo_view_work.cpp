#include "ui/photo_view/photo_view_work.h"

#include "core/text/time_of_day.h"
#include "core/platform/file_exists.h"
#include "core/records/record_file.h"
#include "ui/common/photo_loader.h"

#include <QImageReader>

namespace card {

namespace {

constexpr int kHighestFrame = 5;
// The last five characters of a frame path, "1.jpg" to "5.jpg", name the frame.
constexpr qsizetype kFrameSuffixLength = 5;

QString framePath(const QString& anyFrame, int frame)
{
    return anyFrame.chopped(kFrameSuffixLength) + QString::number(frame) + QStringLiteral(".jpg");
}

} // namespace

SwipePhotos findSwipePhotos(const Swipe& swipe, const ExistenceTest& exists)
{
    const PhotoLookup found = findPhoto(swipe.photoFolder, swipe.card, dayDigits(swipe.day),
                                         timeOfDayDigits(swipe.time), exists);
    SwipePhotos photos;
    photos.outcome = found.outcome;
    if (found.outcome == PhotoOutcome::StillPhoto) {
        photos.frames.append({0, found.path});
    } else if (found.outcome == PhotoOutcome::Sequence) {
        for (int frame = 1; frame <= kHighestFrame; ++frame) {
            const QString path = framePath(found.path, frame);
            if (path == found.path || exists(path))
                photos.frames.append({frame, path});
        }
    }
    return photos;
}

FittedPhoto loadFittedPhoto(const QString& path, const QSize& box)
{
    // The header alone gives the shape; loadPhoto then applies every safety check.
    QImageReader header(path, "jpeg");
    header.setAutoDetectImageFormat(false);
    const QSize fullSize = header.size();
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
