// Every text of the card history window.
#pragma once

#include "core/text/direction_words.h"
#include "ui/common/swipe_texts.h"

#include <QString>
#include <QStringList>

namespace card::history_texts {

inline const QString kTitlePrefix = QStringLiteral("本卡歷史：");
// The range in the title: 2007-04-04 至 2007-05-03.
inline const QString kRangeJoin = QStringLiteral(" 至 ");
inline const QString kCardField = QStringLiteral("卡號");
inline const QString kNameField = QStringLiteral("姓名");
inline const QString kQuery = QStringLiteral("查詢");
inline const QString kStop = QStringLiteral("停止");
inline const QString kEndLabel = QStringLiteral("結束日");
inline const QString kRangeLabel = QStringLiteral("範圍");
// The site the window's own searches read: its parameter file (or records folder).
inline const QString kSearchedSite = QStringLiteral("查詢站台：%1");

inline const QStringList kDayColumns = {
    QString::fromUtf16(kDateHeading),    QStringLiteral("星期"),
    QString::fromUtf16(kCardHeading),    QString::fromUtf16(kNameHeading),
    QString::fromUtf16(kFirstInHeading), QString::fromUtf16(kLastOutHeading),
    QStringLiteral("刷卡次數"),          QString::fromUtf16(kSpanHeading)};
inline const QStringList kWeekdays = {
    QStringLiteral("週一"), QStringLiteral("週二"), QStringLiteral("週三"), QStringLiteral("週四"),
    QStringLiteral("週五"), QStringLiteral("週六"), QStringLiteral("週日")};
// Notes above the days: a search that found nothing, one that matched too many cards.
inline const QString kNoSwipes = QStringLiteral("「%1」在 %2 沒有刷卡紀錄。");
inline const QString kTooManyCards = QStringLiteral(
    "符合「%1」的卡超過 %2 張，已停止查詢，只列出最先找到的 %2 張。請輸入更完整的姓名或改查卡號。");
// Under a swipe that a case holds.
inline const QString kInCase = QStringLiteral("\n［案件］");

inline const QString kDaysName = QStringLiteral("每日刷卡");
inline const QString kHeatName = QStringLiteral("每小時刷卡");
inline const QString kSwipesName = QStringLiteral("當日刷卡");
inline const QString kLegendName = QStringLiteral("每小時刷卡圖例");

// The hour picture's key and a cell's tip.
inline const QString kLegendIn = inWord().toString();
inline const QString kLegendOut = outWord().toString();
inline const QString kLegendShade =
    QStringLiteral("（有進有出時上半進、下半出；色越深，該小時刷卡越多）");
inline const QString kLegendNoSwipe = QStringLiteral("無刷卡");
inline const QString kLegendNoFile = QStringLiteral("無紀錄檔或無法讀取");
inline const QString kHourOfDay = QStringLiteral("%1 時");
inline const QString kHourCounts = QStringLiteral("進 %1　出 %2");

// The result lists' menu entry that opens the window.
inline const QString kOpenAction = QStringLiteral("本卡歷史…");

} // namespace card::history_texts
