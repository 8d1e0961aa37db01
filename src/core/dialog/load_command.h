// The parameter load command: open file_select in load mode and load the file it returns.
#pragma once

#include "core/dialog/dialog_texts.h"
#include "core/dialog/file_select_exchange.h"
#include "core/platform/product.h"

#include <QString>

namespace card {

inline const QString kLoadedCaptionPrefix = kProductTitle + QStringLiteral("：");
inline const QString kBadFileCaptionSuffix = QStringLiteral(" 不正確參數檔");

// Asks the dialog for an existing parameter file, under the load command's title.
void requestParameterFile(FileSelectExchange& exchange);

// The file to load after the dialog has closed: its path when a file was selected, else empty.
QString chosenParameterFile(const FileSelectExchange& exchange);

// Caption of a window whose parameter file was read whole.
QString loadedCaption(const QString& path);

// Caption after a failed read: the caption just set, with the suffix. The loaded caption is
// always rebuilt first, so repeated failures carry the suffix once.
QString badFileCaption(const QString& caption);

} // namespace card
