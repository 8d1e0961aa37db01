// Every text of the card history window.
#pragma once

#include "ui/common/swipe_texts.h"

#include <QString>
#include <QStringList>

namespace card::history_texts {

inline const QString kTitlePrefix = QStringLiteral("本卡歷史：");
// The range in the title: 2007-04-04 至 2007-05-03.
inline const QString kRangeJoin = QStringLiteral(" 至 ");
inline const QString kCardField = QStringLiteral("卡號");
inline const QString kNameField = QStringLiteral("姓名");
inline const QString kRangeDays = QStringLiteral("%1 天");
inline const QString kQuery = QStringLiteral("查詢");
inline const QString kStop = QStringLiteral("停止");
inline const QString kEndLabel = QStringLiteral("結束日");
inline const QString kRangeLabel = QStringLiteral("範圍");
// The site the window's own searches read: its parameter file (or records folder).
inline const QString kSearchedSite = QStringLiteral("查詢站台：%1");

inline const QStringList kDayColumns = {
    QString::fromUtf16(kDateHeading), QStringLiteral("星期"),    QString::fromUtf16(kCardHeading),
    QString::fromUtf16(kNameHeading), QStringLiteral("首次進"),  QStringLiteral("最後出"),
    QStringLiteral("刷卡次數"),       QStringLiteral("首末間隔")};
inline const QStringList kWeekdays = {
    QStringLiteral("週一"), QStringLiteral("週二"), QStringLiteral("週三"), QStringLiteral("週四"),
    QStringLiteral("週五"), QStringLiteral("週六"), QStringLiteral("週日")};
inline const QString kNoDayFile = QStringLiteral("無紀錄檔");
inline const QString kUnreadableDayFile = QStringLiteral("無法讀取紀錄檔");

inline const QString kDaysName = QStringLiteral("每日刷卡");
inline const QString kHeatName = QStringLiteral("每小時刷卡");
inline const QString kSwipesName = QStringLiteral("當日刷卡");

// The result lists' menu entry that opens the window.
inline const QString kOpenAction = QStringLiteral("本卡歷史…");

} // namespace card::history_texts
