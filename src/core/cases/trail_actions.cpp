#include "core/cases/trail_actions.h"

namespace card::trail {

const QList<ActionText>& actionTexts()
{
    static const QList<ActionText> texts = {
        {kCaseMade, QStringLiteral("建立案件")},
        {kCaseClosed, QStringLiteral("結案")},
        {kCaseReopened, QStringLiteral("重新開啟案件")},
        {kCaseDescribed, QStringLiteral("修改案件說明")},
        {kSwipeAdded, QStringLiteral("加入刷卡")},
        {kSwipeRemoved, QStringLiteral("移出刷卡")},
        {kNoteEdited, QStringLiteral("修改附註")},
        {kCopied, QStringLiteral("複製")},
        {kExported, QStringLiteral("匯出")},
        {kPrinted, QStringLiteral("列印")},
        {kPdfWritten, QStringLiteral("存成 PDF")},
        {kPhotoSaved, QStringLiteral("另存影像")},
        {kEvidencePackaged, QStringLiteral("匯出證據包")},
        {kSafeConfirmed, QStringLiteral("確認安全")},
        {kSafeWithdrawn, QStringLiteral("取消確認安全")},
        {kReferencePinned, QStringLiteral("設定參考影像")},
        {kReferenceReplaced, QStringLiteral("更換參考影像")},
        {kReferenceRemoved, QStringLiteral("移除參考影像")},
    };
    return texts;
}

QString actionText(const QString& action)
{
    for (const ActionText& known : actionTexts()) {
        if (known.action == action)
            return known.text;
    }
    return action;
}

} // namespace card::trail
