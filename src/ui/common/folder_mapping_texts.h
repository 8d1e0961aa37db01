// The words of folders written the Windows way and the local folders they are read under.
#pragma once

#include "core/platform/folder_mapping.h"

#include <QString>
#include <QStringList>

namespace card::mapping_texts {

// The command line's line for folders no mapping covers: %1 the folders, %2 the first of them.
inline const QString kUnmappedLine = QStringLiteral(
    "%1 沒有對應的本機資料夾；請以 --map \"%2=本機資料夾\" 指定它在這台電腦上的位置");
inline const QString kFolderListSeparator = QStringLiteral("、");

// The question after loading a parameter file: %1 the Windows folder.
inline const QString kQuestionTitle = QStringLiteral("選擇本機資料夾");
inline const QString kQuestion =
    QStringLiteral("參數檔的資料夾 %1 是 Windows 伺服器上的路徑。\n"
                   "請選擇這台電腦上代表它的資料夾（例如掛載的網路共用資料夾）；"
                   "選定後會記住，下次不再詢問。");
inline const QString kMountedSharesLabel = QStringLiteral("已掛載的共用資料夾：");
inline const QString kWindowsFolderLabel = QStringLiteral("Windows 資料夾：");
inline const QString kLocalFolderLabel = QStringLiteral("本機資料夾：");
inline const QString kBrowse = QStringLiteral("瀏覽…");
inline const QString kOk = QStringLiteral("確定");

// The mapping editor.
inline const QString kEditorAction = QStringLiteral("路徑對應…");
inline const QString kEditorTitle = QStringLiteral("路徑對應");
inline const QString kWindowsColumn = QStringLiteral("Windows 資料夾");
inline const QString kLocalColumn = QStringLiteral("本機資料夾");
inline const QString kSourceColumn = QStringLiteral("來源");
inline const QString kAdd = QStringLiteral("新增…");
inline const QString kChange = QStringLiteral("修改…");
inline const QString kRemove = QStringLiteral("移除");
inline const QString kClose = QStringLiteral("關閉");
inline const QString kNotWindowsFolder =
    QStringLiteral("請以磁碟代號（D:\\…）或網路路徑（\\\\伺服器\\共用）寫出 Windows 資料夾。");
inline const QString kRecordsFolderRead = QStringLiteral("紀錄資料夾 %1 讀取自：%2");
inline const QString kPhotoFolderRead = QStringLiteral("相片資料夾 %1 讀取自：%2");
inline const QString kNotMapped = QStringLiteral("（沒有對應，照原樣讀取）");
inline const QString kNoParameterFile = QStringLiteral("尚未載入參數檔。");

inline QString sourceText(MappingSource source)
{
    switch (source) {
    case MappingSource::CommandLine:
        return QStringLiteral("命令列");
    case MappingSource::Saved:
        return QStringLiteral("使用者設定");
    case MappingSource::Mounted:
        return QStringLiteral("已掛載的共用");
    case MappingSource::Desktop:
        return QStringLiteral("桌面的網路資料夾");
    }
    return {};
}

inline QString unmappedLine(const QStringList& folders)
{
    return kUnmappedLine.arg(folders.join(kFolderListSeparator), folders.first());
}

} // namespace card::mapping_texts
