// Every photo file of one swipe: its still photo, or the present frames of its sequence.
#pragma once

#include "core/photos/photo_find.h"

#include <QDate>
#include <QList>
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

// The photos of the swipe of card at the listed time on day, found as the main window finds
// them, in photoFolder.
SwipePhotos findSwipePhotos(const QString& photoFolder, const QString& card, QDate day,
                            const QString& listedTime, const ExistenceTest& exists);

// The date as YYMMDD, two digits each, as photo names and cur_rec(0) hold it: 3 May 2007 gives
// 070503.
QString dayDigits(QDate date);

} // namespace card
