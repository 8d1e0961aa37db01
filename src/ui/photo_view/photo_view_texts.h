// The inspection window's own texts; those it shares with the main window are in photo_texts.h.
#pragma once

#include <QString>

namespace card::photo_view_texts {

// The title: this prefix, then the swipe's date, time, card and name.
inline const QString kTitlePrefix = QStringLiteral("影像檢視：");
inline const QString kFrame = QStringLiteral("影格 %1");
// A photo file that is there but cannot be shown, with the file's name.
inline const QString kDamaged = QStringLiteral("影像檔損壞：%1");
inline const QString kPictureName = QStringLiteral("影像");
inline const QString kFramesName = QStringLiteral("影格");
inline const QString kCardDayName = QStringLiteral("本卡當日刷卡");
inline const QString kCopyPhotoAction = QStringLiteral("複製影像");
inline const QString kCardHistoryButton = QStringLiteral("本卡歷史");

// The adjustments of what is drawn.
inline const QString kToneBarName = QStringLiteral("影像調整");
inline const QString kBrightness = QStringLiteral("亮度");
inline const QString kContrast = QStringLiteral("對比");
inline const QString kGamma = QStringLiteral("伽瑪");
inline const QString kAutoLevels = QStringLiteral("自動色階");
inline const QString kToneReset = QStringLiteral("還原");
// The key that raises a slider, and with Shift lowers it, after its name.
inline const QString kSliderKeys = QStringLiteral("%1（%2 提高，Shift+%2 降低）");

} // namespace card::photo_view_texts
