// What every window that shows a swipe's photos says of them, and how fast a sequence plays.
#pragma once

#include <QString>

namespace card {

inline const QString kNoPhotoText = QStringLiteral("影像不存在");
// The picture shown where a swipe has no photo.
inline const QString kNoPhotoPicture = QStringLiteral(":/pictures/no_photo.gif");
inline const QString kStillPhotoText = QStringLiteral("刷卡照相");
inline const QString kSequenceText = QStringLiteral("動態播放");
inline const QString kPlaybackEndText = QStringLiteral("播放結束");

// A sequence plays one frame a second.
inline constexpr int kPlaybackIntervalMs = 1000;

} // namespace card
