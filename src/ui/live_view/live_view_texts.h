// Every text the live view window shows.
#pragma once

#include <QString>

namespace card::live_view_texts {

inline const QString kTitle = QStringLiteral("即時刷卡");
inline const QString kOpenAction = QStringLiteral("即時刷卡…");

inline const QString kCardCaption = QStringLiteral("卡號：");
inline const QString kDirectionCaption = QStringLiteral("進出：");
inline const QString kIn = QStringLiteral("進");
inline const QString kOut = QStringLiteral("出");
inline const QString kAll = QStringLiteral("全選");
inline const QString kPause = QStringLiteral("暫停");
inline const QString kResume = QStringLiteral("繼續");

// Names for screen readers.
inline const QString kRowsName = QStringLiteral("即時刷卡清單");
// The photo box says whether it shows a photo.
inline const QString kPhotoName = QStringLiteral("刷卡影像");
inline const QString kCardName = QStringLiteral("卡號篩選");
inline const QString kDirectionName = QStringLiteral("進出篩選");

// The status line: "即時" with the time of the last read, or "連線中斷" with the time of the
// last read that succeeded.
inline const QString kLive = QStringLiteral("即時");
inline const QString kLost = QStringLiteral("連線中斷");
inline const QString kLastReadAt = QStringLiteral("最後讀取 %1");
inline const QString kNotReadYet = QStringLiteral("尚未讀取");
inline const QString kWaitingForFile = QStringLiteral("等待當日紀錄檔 %1");
inline const QString kPausedNote = QStringLiteral("已暫停");

// The row that marks the change of day.
inline const QString kDayChange = QStringLiteral("── %1 ──");

} // namespace card::live_view_texts
