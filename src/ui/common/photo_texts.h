// What every window that shows a swipe's photos says of them, and how fast a sequence plays.
#pragma once

#include <QString>

namespace card {

inline const QString kNoPhotoText = QStringLiteral("影像不存在");
// The picture shown where a swipe has no photo (noPhotoPicture() loads it once).
inline constexpr QStringView kNoPhotoPicture = u":/pictures/no_photo.gif";
inline const QString kStillPhotoText = QStringLiteral("刷卡照相");
inline const QString kSequenceText = QStringLiteral("動態播放");
inline const QString kPlaybackEndText = QStringLiteral("播放結束");

// The card's reference photo beside a swipe: its name, the day and time under it, and a card
// without one.
inline const QString kReferenceName = QStringLiteral("本卡參考影像");
inline const QString kReferenceCaption = QStringLiteral("參考影像 %1 %2");
inline const QString kNoReferenceText = QStringLiteral("尚未設定參考影像（R）");
inline const QString kPinReferenceAction = QStringLiteral("設為本卡參考影像");
inline const QString kRemoveReferenceAction = QStringLiteral("移除本卡參考影像");
// The shown photo's file could not be read again to be kept, with the file's name.
inline const QString kReferenceUnreadable = QStringLiteral("無法讀取影像檔：%1");

// The comparison of two swipes: this prefix, then the card and name.
inline const QString kCompareTitle = QStringLiteral("比對刷卡：");

// A sequence plays one frame a second.
inline constexpr int kPlaybackIntervalMs = 1000;

} // namespace card
