// Every text of the cases: the add dialog, the cases window, the trail view and their messages.
#pragma once

#include <QString>

namespace card::case_texts {

inline const QString kAddAction = QStringLiteral("加入案件…");
inline const QString kAddTitle = QStringLiteral("加入案件");
inline const QString kCaseLabel = QStringLiteral("案件：");
inline const QString kNoteLabel = QStringLiteral("附註：");
inline const QString kOk = QStringLiteral("確定");
inline const QString kAdded = QStringLiteral("已加入案件「%1」");
inline const QString kOpenAction = QStringLiteral("案件…");
inline const QString kWindowTitle = QStringLiteral("案件");
inline const QString kSearchPlaceholder = QStringLiteral("搜尋案件名稱、說明、附註、卡號或姓名");
inline const QString kCasesTab = QStringLiteral("案件");
inline const QString kTrailTab = QStringLiteral("紀錄");
inline const QString kOpenState = QStringLiteral("進行中");
inline const QString kClosedState = QStringLiteral("已結案");
inline const QString kCloseAction = QStringLiteral("結案");
inline const QString kReopenAction = QStringLiteral("重新開啟");
inline const QString kDescribeAction = QStringLiteral("編輯說明…");
inline const QString kEditNoteAction = QStringLiteral("編輯附註…");
inline const QString kRemoveAction = QStringLiteral("移出案件");
inline const QString kRemoveQuestion = QStringLiteral("要把這筆刷卡移出案件「%1」嗎？");
inline const QString kExportAction = QStringLiteral("匯出 CSV…");
inline const QString kInspectAction = QStringLiteral("檢視影像");
inline const QString kAllChoices = QStringLiteral("（全部）");
inline const QString kMarked = QStringLiteral("案件：%1");
// The cases list's headings.
inline const QString kNameHeading = QStringLiteral("案件");
inline const QString kStateHeading = QStringLiteral("狀態");
inline const QString kCountHeading = QStringLiteral("刷卡數");
inline const QString kMadeByHeading = QStringLiteral("建立者");
inline const QString kMadeAtHeading = QStringLiteral("建立時間");
inline const QString kDescriptionHeading = QStringLiteral("說明");
// The trail view's headings.
inline const QString kTimeHeading = QStringLiteral("時間");
inline const QString kOperatorHeading = QStringLiteral("操作者");
inline const QString kMachineHeading = QStringLiteral("電腦");
inline const QString kActionHeading = QStringLiteral("動作");
inline const QString kDetailsHeading = QStringLiteral("內容");
inline const QString kNoteHeading = QStringLiteral("附註");
inline const QString kSiteHeading = QStringLiteral("地點");

} // namespace card::case_texts
