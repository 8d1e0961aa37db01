// Every text the operator sees while taking results out: the save dialogs and their messages.
#pragma once

#include <QString>

namespace card::export_texts {

inline const QString kExportDialogTitle = QStringLiteral("匯出刷卡紀錄");
inline const QString kExportFilter = QStringLiteral("CSV (*.csv)");
// The menu entry that saves the shown photo, in the main window and the inspection window.
inline const QString kSavePhotoAction = QStringLiteral("另存影像…");
inline const QString kPhotoDialogTitle = QStringLiteral("另存影像");
inline const QString kPhotoFilter = QStringLiteral("JPEG 影像 (*.jpg *.jpeg);;所有檔案 (*)");

// First line of a message, then the path on its own line, then the reason.
inline const QString kRefused = QStringLiteral("不可寫入紀錄或影像資料夾");
inline const QString kRefusedFolder = QStringLiteral("受保護的資料夾：");
inline const QString kCannotCreate = QStringLiteral("無法建立檔案");
inline const QString kCannotWrite = QStringLiteral("無法寫入檔案");
inline const QString kCannotCommit = QStringLiteral("無法完成寫入檔案");
inline const QString kSourceUnreadable = QStringLiteral("無法讀取影像檔");
inline const QString kNoPhoto = QStringLiteral("目前沒有顯示影像");
inline const QString kReasonPrefix = QStringLiteral("原因：");
// Said after every failure: the target was left as it was.
inline const QString kNothingChanged = QStringLiteral("原有檔案未被更動。");

} // namespace card::export_texts
