// Every text the operator sees while taking results out: the save dialogs and their messages.
#pragma once

#include <QString>

namespace card::export_texts {

inline const QString kExportDialogTitle = QStringLiteral("匯出刷卡紀錄");
inline const QString kExportFilter = QStringLiteral("CSV 文件 (*.csv)");
inline const QString kCsvExtension = QStringLiteral("csv");
// The menu entry that saves the shown photo, in the main window and the inspection window.
inline const QString kSavePhotoAction = QStringLiteral("另存影像…");
inline const QString kPhotoDialogTitle = QStringLiteral("另存影像");
inline const QString kPhotoFilter = QStringLiteral("JPEG 影像 (*.jpg *.jpeg);;所有檔案 (*)");
inline const QString kPhotoExtension = QStringLiteral("jpg");
// Asked, below the path, before an existing file is replaced.
inline const QString kReplaceQuestion = QStringLiteral("檔案已存在，要取代嗎？");
// A passing confirmation after an export: the path, then the number of rows.
inline const QString kExported = QStringLiteral("已匯出 %1 筆：%2");
inline const QString kPhotoSaved = QStringLiteral("影像已儲存：%1");

// First line of a message, then the path on its own line, then the reason.
inline const QString kRefused = QStringLiteral("不可寫入紀錄資料夾、影像資料夾或參數檔");
inline const QString kRefusedFolder = QStringLiteral("受保護的位置：");
inline const QString kCannotCreate = QStringLiteral("無法建立檔案");
inline const QString kCannotWrite = QStringLiteral("無法寫入檔案");
inline const QString kCannotCommit = QStringLiteral("無法完成寫入檔案");
inline const QString kSourceUnreadable = QStringLiteral("無法讀取影像檔");
inline const QString kNoPhoto = QStringLiteral("目前沒有顯示影像");
inline const QString kReasonPrefix = QStringLiteral("原因：");
// Said after a failure when a file was at the target: it was left as it was.
inline const QString kNothingChanged = QStringLiteral("原有檔案未被更動。");

} // namespace card::export_texts
