// The parameter load command: open file_select in load mode and load the file it returns.
#pragma once

#include "core/dialog/module1.h"

#include <QString>

#include <functional>

namespace card {

inline const QString kLoadDialogTitle = QStringLiteral("伺服器參數檔載入");
inline const QString kLoadedCaptionPrefix = QStringLiteral("刷卡影像資料查詢：");
inline const QString kBadFileCaptionSuffix = QStringLiteral(" 不正確參數檔");

// What the command needs from the main window.
struct LoadCommandHost {
    std::function<void()> showFileSelect;               // modal; returns when it has closed
    std::function<bool(const QString& path)> para_read; // true when the file was read whole
    std::function<QString()> caption;
    std::function<void(const QString& caption)> setCaption;
};

// Caption of a window whose parameter file was read whole.
QString loadedCaption(const QString& path);

// Caption after a failed read: the caption just set, with the suffix. The loaded caption is
// always rebuilt first, so repeated failures carry the suffix once.
QString badFileCaption(const QString& caption);

// The file to load after the dialog has closed: its path for code "1" with a path, else empty.
QString chosenParameterFile(const DialogPara& dialog_para);

// Loads a chosen parameter file: the caption names it, then the file is read; a failed read
// (reported by para_read) adds the bad-file suffix. True when the file was read whole. The load
// command after its dialog and a parameter file given on the command line both load this way.
// showFileSelect is not used.
bool loadParameterFile(const QString& path, const LoadCommandHost& host);

void runLoadCommand(DialogPara& dialog_para, const LoadCommandHost& host);

} // namespace card
