// Which photo file belongs to a swipe: its still photo, the highest frame of its sequence, or none.
#pragma once

#include "core/platform/file_exists.h"

#include <QString>

namespace card {

enum class PhotoOutcome { StillPhoto, Sequence, None };

struct PhotoLookup {
    // The still photo, the frame found, or the frame-1 name when nothing was found.
    QString path;
    PhotoOutcome outcome = PhotoOutcome::None;
};

// Probes folder/card-date-time with the suffixes -C, -5, -4, -3, -2, -1 (".jpg") and returns the
// first present one: one test when the still photo is present, six otherwise. A swipe without a
// time of day (empty time) has no photos: its frame-1 name is returned as none, untested.
PhotoLookup findPhoto(const QString& folder, const QString& card, const QString& date,
                      const QString& time, const ExistenceTest& exists);

} // namespace card
