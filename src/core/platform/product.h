// The product's name as the operator sees it.
#pragma once

#include <QString>

namespace card {

// The main window's caption, the start of a loaded site's caption and every message box's title.
inline const QString kProductTitle = QStringLiteral("刷卡影像資料查詢");

} // namespace card
