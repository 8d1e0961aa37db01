#include "core/photos/photo_find.h"

#include "core/platform/path_join.h"

namespace card {

namespace {

constexpr int kHighestFrame = 5;

QString photoName(const QString& stem, const QString& suffix)
{
    return stem + u'-' + suffix + QStringLiteral(".jpg");
}

QString framePath(const QString& stem, int frame)
{
    return photoName(stem, QString::number(frame));
}

} // namespace

PhotoLookup findPhoto(const QString& folder, const QString& card, const QString& date,
                      const QString& time, const ExistenceTest& exists)
{
    const QString stem = joinPath(folder, card + u'-' + date + u'-' + time);
    if (time.isEmpty())
        return {framePath(stem, 1), PhotoOutcome::None};
    const QString stillPhoto = photoName(stem, QStringLiteral("C"));
    if (exists(stillPhoto))
        return {stillPhoto, PhotoOutcome::StillPhoto};
    // Once a frame is present it stays chosen and the remaining tests test it again, so the
    // number of tests does not depend on which frame is found.
    QString path = framePath(stem, kHighestFrame);
    for (int frame = kHighestFrame - 1; frame >= 1; --frame) {
        if (!exists(path))
            path = framePath(stem, frame);
    }
    if (exists(path))
        return {path, PhotoOutcome::Sequence};
    return {path, PhotoOutcome::None};
}

} // namespace card
