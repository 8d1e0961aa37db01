// The words the trail records for what was done, and how the trail view shows them.
#pragma once

#include <QList>
#include <QString>

namespace card::trail {

// Kept in the store as they are: never rename one that has shipped.
inline const QString kCaseMade = QStringLiteral("case_made");
inline const QString kCaseClosed = QStringLiteral("case_closed");
inline const QString kCaseReopened = QStringLiteral("case_reopened");
inline const QString kCaseDescribed = QStringLiteral("case_described");
inline const QString kSwipeAdded = QStringLiteral("swipe_added");
inline const QString kSwipeRemoved = QStringLiteral("swipe_removed");
inline const QString kNoteEdited = QStringLiteral("note_edited");
inline const QString kCopied = QStringLiteral("copied");
inline const QString kExported = QStringLiteral("exported");
inline const QString kPrinted = QStringLiteral("printed");
inline const QString kPdfWritten = QStringLiteral("pdf_written");
inline const QString kPhotoSaved = QStringLiteral("photo_saved");
inline const QString kEvidencePackaged = QStringLiteral("evidence_packaged");
inline const QString kSafeConfirmed = QStringLiteral("safe_confirmed");
inline const QString kSafeWithdrawn = QStringLiteral("safe_withdrawn");
inline const QString kReferencePinned = QStringLiteral("reference_pinned");
inline const QString kReferenceReplaced = QStringLiteral("reference_replaced");
inline const QString kReferenceRemoved = QStringLiteral("reference_removed");

struct ActionText {
    QString action;
    QString text;
};

// Every action with its text, in the order the trail view offers them.
const QList<ActionText>& actionTexts();

// The text of an action; an action this program does not know is shown as it is kept.
QString actionText(const QString& action);

} // namespace card::trail
