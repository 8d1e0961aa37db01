#include "core/photos/frame_step.h"

#include "core/photos/photo_name.h"

namespace card {

namespace {

// Frames 2 to 5 step down to the next lower frame; frame 1 and any other name stay.
QString steppedDown(const QString& path)
{
    const std::optional<PhotoName> name = PhotoName::fromPath(path);
    if (!name || name->frameNumber() < 2)
        return path;
    return name->frame(name->frameNumber() - 1).path();
}

bool isLastFrame(const QString& path)
{
    const std::optional<PhotoName> name = PhotoName::fromPath(path);
    return name && name->frameNumber() == 1;
}

} // namespace

FrameStep stepFrame(const QString& path, const ExistenceTest& exists)
{
    if (!exists(path))
        return {path, false, false};
    QString next = steppedDown(path);
    bool present = exists(next);
    for (QString lower = steppedDown(next); !present && lower != next; lower = steppedDown(next)) {
        next = lower;
        present = exists(next);
    }
    return {next, isLastFrame(next), present};
}

} // namespace card
