#include "core/photos/photo_find.h"

#include "core/photos/photo_name.h"

namespace card {

PhotoLookup findPhoto(const QString& folder, const QString& card, const QString& date,
                      const QString& time, const ExistenceTest& exists)
{
    const PhotoName swipe = PhotoName::forSwipe(folder, card, date, time);
    if (time.isEmpty())
        return {swipe.frame(1).path(), PhotoOutcome::None};
    const QString stillPhoto = swipe.stillPhoto().path();
    if (exists(stillPhoto))
        return {stillPhoto, PhotoOutcome::StillPhoto};
    // Once a frame is present it stays chosen and the remaining tests test it again, so the
    // number of tests does not depend on which frame is found.
    QString path = swipe.frame(kHighestFrame).path();
    for (int frame = kHighestFrame - 1; frame >= 1; --frame) {
        if (!exists(path))
            path = swipe.frame(frame).path();
    }
    if (exists(path))
        return {path, PhotoOutcome::Sequence};
    return {path, PhotoOutcome::None};
}

} // namespace card
