// Every text the dialog file_select shows: captions, names for screen readers, its title
// under the load command, and its messages.
#pragma once

#include <QString>

namespace card {

// Captions of its labels and buttons, and names of the controls without a caption. Plain
// UTF-16 arrays, so the dialog's control table can hold them as constants.
inline constexpr char16_t kDriveCaption[] = u"選擇磁碟";
inline constexpr char16_t kFolderCaption[] = u"選擇路徑";
inline constexpr char16_t kFileListCaption[] = u"檔案清單";
inline constexpr char16_t kFileNameCaption[] = u"檔案名稱:";
inline constexpr char16_t kAddFolderCaption[] = u"新增資料夾";
inline constexpr char16_t kRemoveFolderCaption[] = u"刪除資料夾";
inline constexpr char16_t kNewCaption[] = u"新增";
inline constexpr char16_t kSelectCaption[] = u"選擇";
inline constexpr char16_t kCancelCaption[] = u"取消";
inline constexpr char16_t kDriveListName[] = u"磁碟清單";
inline constexpr char16_t kFolderListName[] = u"路徑清單";
inline constexpr char16_t kFileListName[] = u"檔案清單";
inline constexpr char16_t kFileNameEditName[] = u"檔案名稱文字方塊";

// The title the load command opens it with.
inline const QString kLoadDialogTitle = QStringLiteral("伺服器參數檔載入");

// The confirm buttons' messages.
inline const QString kNoNameMessage = QStringLiteral("尚未選擇或輸入參數檔案名稱");
inline const QString kMissingFileMessage = QStringLiteral("選擇或輸入參數檔案名稱不存在");
inline const QString kExistingFileQuestion =
    QStringLiteral("選擇或輸入參數檔案名稱已存在，是否繼續進行?");

// The folder buttons' input box and messages; a removed folder is reported by its path.
inline const QString kNewFolderPrompt = QStringLiteral("請輸入新的資料夾名稱");
inline const QString kNewFolderTitle = QStringLiteral("New_Folder");
inline const QString kNewFolderFailed = QStringLiteral("資料夾已存在或命名不符規則");
inline const QString kRemoveFolderFailed = QStringLiteral("該資料夾非空資料夾，無法進行刪除");

} // namespace card
