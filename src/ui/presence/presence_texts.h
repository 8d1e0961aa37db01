// Every text the presence window (在場人員) and its roll call show.
#pragma once

#include <QString>
#include <QStringList>

namespace card::presence_texts {

inline const QString kTitle = QStringLiteral("在場人員");
inline const QString kOpenAction = QStringLiteral("在場人員…");

inline const QString kNow = QStringLiteral("現在");
inline const QString kTimeCaption = QStringLiteral("時間：");
inline const QString kOrderCaption = QStringLiteral("排序：");
inline const QString kByEntry = QStringLiteral("進入時間（新到舊）");
inline const QString kByName = QStringLiteral("姓名");
inline const QString kCount = QStringLiteral("在場 %1 人");

// The columns of the rows; the picture's column has no heading.
inline const QStringList kHeadings{QString(),
                                   QStringLiteral("卡號"),
                                   QStringLiteral("姓名"),
                                   QStringLiteral("進入時間"),
                                   QStringLiteral("已在場"),
                                   QStringLiteral("已確認安全")};

// Names for screen readers.
inline const QString kRowsName = QStringLiteral("在場人員清單");
inline const QString kTimeName = QStringLiteral("在場時間");
inline const QString kOrderName = QStringLiteral("排序方式");

// The status line.
inline const QString kLive = QStringLiteral("即時　最後讀取 %1");
inline const QString kLost = QStringLiteral("連線中斷　最後讀取 %1");
inline const QString kNotReadYet = QStringLiteral("尚未讀取");
inline const QString kReading = QStringLiteral("讀取中…");
inline const QString kAtMoment = QStringLiteral("%1 的在場人員（當日與前一日紀錄檔）");
// The day file of the moment, by name, and what kept it from being read.
inline const QString kDayFileProblem = QStringLiteral("%1：%2");

// The files taken out.
inline const QString kCsvName = QStringLiteral("在場人員-%1.csv");
inline const QString kPdfName = QStringLiteral("在場人員點名表-%1.pdf");
inline const QString kFileTimeFormat = QStringLiteral("yyyy-MM-dd-HHmmss");

} // namespace card::presence_texts
