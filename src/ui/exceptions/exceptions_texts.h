// Every text of the exceptions window.
#pragma once

#include "ui/common/swipe_texts.h"

#include <QString>
#include <QStringList>

namespace card::exceptions_texts {

inline const QString kTitle = QStringLiteral("異常刷卡");
// The range in the title: 異常刷卡：2007-04-27 至 2007-05-03.
inline const QString kTitleRange = QStringLiteral("異常刷卡：%1 至 %2");
inline const QString kQuery = QStringLiteral("查詢");
inline const QString kStop = QStringLiteral("停止");
inline const QString kSettings = QStringLiteral("規則設定…");
inline const QString kEndLabel = QStringLiteral("結束日");
inline const QString kRangeLabel = QStringLiteral("範圍");
// A rule's tick: 重複進（12）.
inline const QString kRuleCount = QStringLiteral("%1（%2）");
inline const QString kRulesName = QStringLiteral("異常規則");
inline const QString kRowsName = QStringLiteral("異常刷卡清單");
inline const QString kPhotosName = QStringLiteral("異常刷卡影像");

inline const QStringList kColumns = {
    QString::fromUtf16(kDateHeading),      QString::fromUtf16(kTimeHeading),
    QString::fromUtf16(kCardHeading),      QString::fromUtf16(kNameHeading),
    QString::fromUtf16(kDirectionHeading), QStringLiteral("異常")};

// Under the two photos: the flagged swipe, and the swipe it is judged against.
inline const QString kFlaggedCaption = QStringLiteral("%1 %2\n%3");
inline const QString kReferenceCaption = QStringLiteral("比對：%1 %2\n%3");
inline const QString kNoReference = QStringLiteral("（無比對刷卡）");

inline const QString kInspect = QStringLiteral("影像檢視");

// The settings dialog.
inline const QString kSettingsTitle = QStringLiteral("異常規則設定");
inline const QString kBurstCount = QStringLiteral("連續刷卡：次數");
inline const QString kBurstSeconds = QStringLiteral("連續刷卡：秒數內");
inline const QString kNightFrom = QStringLiteral("夜間刷卡：自（時）");
inline const QString kNightUntil = QStringLiteral("夜間刷卡：至（時，不含）");
inline const QString kRareDays = QStringLiteral("罕見時段：回看天數");
inline const QString kRareMinimumDays = QStringLiteral("罕見時段：至少有刷卡天數");

// The result lists' menu entry that opens the window.
inline const QString kOpenAction = QStringLiteral("異常刷卡…");

} // namespace card::exceptions_texts
