// The folder buttons of file_select: create a subfolder of the open folder, remove an empty one.
#pragma once

#include <QString>

namespace card {

inline const QString kNewFolderPrompt = QStringLiteral("請輸入新的資料夾名稱");
inline const QString kNewFolderTitle = QStringLiteral("New_Folder");
inline const QString kNewFolderFailed = QStringLiteral("資料夾已存在或命名不符規則");
inline const QString kRemoveFolderFailed = QStringLiteral("該資料夾非空資料夾，無法進行刪除");

// A name that can only make a subfolder of the open folder: no separator, not "." or "..".
bool isSubfolderName(const QString& name);

// Creates folder/name, without parents. False when the name is refused or creation fails,
// for instance because a folder or file of that name exists.
bool createSubfolder(const QString& folder, const QString& name);

// Removes folder when it is empty; a folder holding anything is never touched.
bool removeEmptyFolder(const QString& folder);

} // namespace card
