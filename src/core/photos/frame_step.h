// One tick of a photo sequence's playback: the next lower frame that is present.
#pragma once

#include "core/photos/photo_find.h"

#include <QString>

namespace card {

struct FrameStep {
    // The frame path after the tick; only its last five characters ever change.
    QString path;
    // The playback has reached frame 1 and ends.
    bool ends = false;
    // The frame at path is present and is to be shown.
    bool load = false;
};

// Steps the current frame path down to the next present frame, skipping missing ones and
// stopping at frame 1. A current frame that is absent leaves everything as it is, so the
// playback waits for it. At most five existence tests.
FrameStep stepFrame(const QString& path, const ExistenceTest& exists);

} // namespace card
