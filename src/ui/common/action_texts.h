// The words the buttons and menus of every window share.
#pragma once

#include <QString>

namespace card::action_texts {

inline const QString kCancel = QStringLiteral("取消");
// The menu entries of a list that copy its selected rows and save it as a CSV file.
inline const QString kCopy = QStringLiteral("複製");
inline const QString kExportList = QStringLiteral("匯出清單…");

} // namespace card::action_texts
