// The camera photos of the sample site, drawn instead of taken.
#pragma once

#include "site_plan.h"

#include <QDate>
#include <QFont>
#include <QImage>
#include <QString>

namespace card {

inline constexpr QSize kPhotoSize{320, 240};
// Frame number of a still photo; sequence frames are 1 to kFramesPerSequence.
inline constexpr int kStillFrame = 0;

// "00012345-070503-080507-C.jpg" for a still, "...-3.jpg" for frame 3 of a sequence.
QString photoFileName(const QString& cardNumber, const QDate& date, const QTime& time, int frame);

// Draws the door camera's view of a swipe: the doorway, the holder walking through it (one
// position per frame) and the camera's caption. Keeps the empty scene between photos.
class PhotoPainter {
public:
    PhotoPainter();

    QImage draw(const PlannedSwipe& swipe, const QDate& date, int frame) const;

private:
    QImage m_scene;
    QFont m_captionFont;
};

} // namespace card
