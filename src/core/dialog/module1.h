// Module1: the exchange table between the main window and the dialog file_select.
#pragma once

#include <QString>

#include <array>

namespace card {

// Four text slots: title, mode on entry / result code on exit, chosen file path, folder.
using DialogPara = std::array<QString, 4>;

inline constexpr size_t kDialogTitleSlot = 0;
inline constexpr size_t kDialogCodeSlot = 1;
inline constexpr size_t kDialogPathSlot = 2;
inline constexpr size_t kDialogFolderSlot = 3;

// Modes written into the code slot before the dialog opens.
inline const QString kModeFolder = QStringLiteral("4");
inline const QString kModeLoad = QStringLiteral("5");

// Result codes the dialog leaves in the code slot; folder mode ends with the empty code.
inline const QString kCodeNewName = QStringLiteral("0");
inline const QString kCodeSelected = QStringLiteral("1");
inline const QString kCodeCancelled = QStringLiteral("3");

namespace Module1 {

// The one table of the run, empty at start; nothing clears a slot but the writes of its users.
DialogPara& dialog_para();

} // namespace Module1

} // namespace card
