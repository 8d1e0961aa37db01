// Every text the main window shows: captions, names for screen readers and its messages.
#pragma once

#include "core/platform/product.h"
#include "ui/common/photo_texts.h"
#include "ui/common/swipe_texts.h"

#include <QString>

namespace card {

// Captions, and names of the controls without a caption. Plain UTF-16 arrays, so the window's
// control table can hold them as constants.
inline constexpr char16_t kDateCaption[] = u"日期選擇：";
inline constexpr char16_t kCardCaption[] = u"卡號：";
inline constexpr char16_t kDirectionCaption[] = u"進出選擇：";
inline constexpr char16_t kPhotoDataCaption[] = u"影像資料：";
inline constexpr char16_t kInCaption[] = u"進";
inline constexpr char16_t kOutCaption[] = u"出";
inline constexpr char16_t kAllCaption[] = u"全選";
inline constexpr char16_t kQueryCaption[] = u"查詢";
inline constexpr char16_t kClearCaption[] = u"清除";
inline constexpr char16_t kLoadCaption[] = u"參數檔載入";
inline constexpr char16_t kNameStateHeading[] = u"姓名/狀態";
inline constexpr char16_t kPhotoTypeHeading[] = u"影像類別";
inline constexpr char16_t kDatePickerName[] = u"日期選擇器";
inline constexpr char16_t kCardFilterName[] = u"卡號篩選核取方塊";
inline constexpr char16_t kCardNumberName[] = u"卡號文字方塊";
inline constexpr char16_t kTimeListName[] = u"時間清單";
inline constexpr char16_t kCardListName[] = u"卡號清單";
inline constexpr char16_t kNameListName[] = u"姓名清單";
inline constexpr char16_t kDirectionListName[] = u"進出清單";
inline constexpr char16_t kPhotoBoxName[] = u"影像圖片方塊";
inline constexpr char16_t kFallbackPictureName[] = u"無影像圖片方塊";

// The messages of the load command; the photo texts shared with the inspection window are in
// photo_texts.h, the day file's in day_file_words.h.
inline const QString kBadParameterFileMessage = QStringLiteral("不正確參數檔");

// The menus of the result lists and the photo box, and the jump to a time.
inline const QString kPhotoViewAction = QStringLiteral("影像檢視");
inline const QString kJumpToTimeAction = QStringLiteral("跳至時間…");
inline const QString kRecentFilesMenu = QStringLiteral("最近的參數檔");
inline const QString kJumpToTimeTitle = QStringLiteral("跳至時間");
inline const QString kJumpToTimePrompt = QStringLiteral("時間（hh:mm 或 hh:mm:ss）：");
inline const QString kJumpToTimeInvalid = QStringLiteral("不是時間：%1\n請輸入 hh:mm 或 hh:mm:ss");
inline const QString kJumpToTimeNone = QStringLiteral("%1 或之後沒有刷卡紀錄");

} // namespace card
