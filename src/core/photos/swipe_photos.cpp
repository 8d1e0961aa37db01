#include "core/photos/swipe_photos.h"

#include "core/photos/photo_name.h"
#include "core/text/time_of_day.h"
#include "core/text/two_digits.h"

namespace card {

SwipePhotos findSwipePhotos(const QString& photoFolder, const QString& card, QDate day,
                            const QString& listedTime, const ExistenceTest& exists)
{
    const PhotoLookup found =
        findPhoto(photoFolder, card, dayDigits(day), timeOfDayDigits(listedTime), exists);
    SwipePhotos photos;
    photos.outcome = found.outcome;
    if (found.outcome == PhotoOutcome::StillPhoto) {
        photos.frames.append({0, found.path});
    } else if (found.outcome == PhotoOutcome::Sequence) {
        const std::optional<PhotoName> highest = PhotoName::fromPath(found.path);
        for (int frame = 1; frame <= kHighestFrame; ++frame) {
            const QString path = highest->frame(frame).path();
            if (path == found.path || exists(path))
                photos.frames.append({frame, path});
        }
    }
    return photos;
}

QString dayDigits(QDate date)
{
    return twoDigits(date.year()) + twoDigits(date.month()) + twoDigits(date.day());
}

} // namespace card
