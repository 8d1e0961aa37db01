// What the operator is told of a day whose record file is not there or cannot be read.
#pragma once

#include <QString>

namespace card::day_file_words {

// A single day asked for: the main window's query, a day's report, a card's package.
inline const QString kMissing = QStringLiteral("紀錄不存在");
inline const QString kUnreadable = QStringLiteral("紀錄檔無法讀取");
// One day among many, in the history and the exceptions.
inline const QString kNoDayFile = QStringLiteral("無紀錄檔");

} // namespace card::day_file_words
