// Every text the live view window shows.
#pragma once

#include "core/text/direction_words.h"

#include <QString>

namespace card::live_view_texts {

inline const QString kTitle = QStringLiteral("即時刷卡");
inline const QString kOpenAction = QStringLiteral("即時刷卡…");

inline const QString kCardCaption = QStringLiteral("卡號：");
inline const QString kDirectionCaption = QStringLiteral("進出：");
inline const QString kIn = inWord().toString();
inline const QString kOut = outWord().toString();
inline const QString kAll = QStringLiteral("全選");
inline const QString kPause = QStringLiteral("暫停");
inline const QString kResume = QStringLiteral("繼續");

// Names for screen readers.
inline const QString kRowsName = QStringLiteral("即時刷卡清單");
// The photo box says whether it shows a photo.
inline const QString kPhotoName = QStringLiteral("刷卡影像");
inline const QString kCardName = QStringLiteral("卡號篩選");
inline const QString kDirectionName = QStringLiteral("進出篩選");

// The photo box while the swipe's photo is looked for (it is often written a few seconds
// after its record), and under it the swipe it belongs to.
inline const QString kPhotoLoading = QStringLiteral("影像讀取中…");
inline QString photoCaption(const QString& time, const QString& card, const QString& name,
                            const QString& direction)
{
    return QStringLiteral("%1　卡號 %2　%3　%4").arg(time, card, name, direction);
}

// The status line: "即時" with the time of the last read, "連線中斷" with the time of the
// last read that succeeded, or the permission that is missing.
inline const QString kLive = QStringLiteral("即時");
inline const QString kLost = QStringLiteral("連線中斷");
inline const QString kFolderDenied = QStringLiteral("沒有權限進入紀錄資料夾 %1");
inline const QString kFileDenied = QStringLiteral("沒有權限讀取紀錄檔 %1");
inline const QString kLastReadAt = QStringLiteral("最後讀取 %1");
inline const QString kNotReadYet = QStringLiteral("尚未讀取");
inline const QString kWaitingForFile = QStringLiteral("等待當日紀錄檔 %1");
inline QString pausedNote(qsizetype waiting)
{
    return QStringLiteral("已暫停，%1 筆新刷卡待顯示").arg(waiting);
}

// The row that marks the change of day.
inline const QString kDayChange = QStringLiteral("── %1 ──");

} // namespace card::live_view_texts
