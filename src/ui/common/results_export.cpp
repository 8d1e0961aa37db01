#include "ui/common/results_export.h"

#include "core/cases/trail_actions.h"
#include "core/photos/photo_file_checks.h"
#include "core/platform/site_io_task.h"
#include "core/platform/system_reason.h"
#include "core/records/exception_export.h"
#include "core/records/record_export.h"
#include "ui/common/case_desk.h"
#include "ui/common/export_texts.h"
#include "ui/common/message_box.h"
#include "ui/common/save_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QToolTip>

namespace card {

namespace {

constexpr int kPassingMessageMs = 6000;

// The busy cursor while a file is written.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// What failed, where and why; that an existing file was kept only when there was one.
QString failureMessage(const QString& what, const SafeWriteResult& result)
{
    using namespace export_texts;
    QString message = what + u'\n' + QDir::toNativeSeparators(result.path) + u'\n' + kReasonPrefix +
                      systemReasonText(result.reason);
    if (result.targetExisted)
        message += u'\n' + kNothingChanged;
    return message;
}

} // namespace

QString safeWriteMessage(const SafeWriteResult& result)
{
    using namespace export_texts;
    const QString path = QDir::toNativeSeparators(result.path);
    switch (result.status) {
    case SafeWriteStatus::Ok:
        return {};
    case SafeWriteStatus::Refused:
        return kRefused + u'\n' + path + u'\n' + kRefusedFolder +
               QDir::toNativeSeparators(result.reason);
    case SafeWriteStatus::SourceUnreadable:
        return kSourceUnreadable + u'\n' + path + u'\n' + kReasonPrefix + result.reason;
    case SafeWriteStatus::CannotCreate:
        return failureMessage(kCannotCreate, result);
    case SafeWriteStatus::WriteFailed:
        return failureMessage(kCannotWrite, result);
    case SafeWriteStatus::CommitFailed:
        return failureMessage(kCannotCommit, result);
    }
    return {};
}

bool reportSafeWrite(QWidget* parent, const SafeWriteResult& result)
{
    if (!result.ok())
        showMessage(parent, safeWriteMessage(result));
    return result.ok();
}

QString saveAskingAgain(QWidget* parent, SaveQuestion question,
                        const std::function<SafeWriteResult(const QString& target)>& write)
{
    for (;;) {
        const QString target = askSaveTarget(parent, question);
        if (target.isEmpty())
            return {};
        SafeWriteResult result;
        {
            const WaitCursor busy;
            result = write(target);
        }
        if (reportSafeWrite(parent, result))
            return target;
        question.proposedPath = target;
    }
}

bool exportListedRows(QWidget* parent, const RecordTable& table, QDate day,
                      const QStringList& protectedPlaces)
{
    return exportCsv(parent, csvFileName(day), protectedPlaces, table.rowCount(),
                     [&](const QString& target) {
                         return exportRecordsCsv(table, day, target, protectedPlaces);
                     });
}

bool exportCsv(QWidget* parent, const QString& fileName, const QStringList& protectedPlaces,
               qsizetype rowCount, const std::function<SafeWriteResult(const QString&)>& write)
{
    const QString target =
        saveAskingAgain(parent,
                        {export_texts::kExportDialogTitle, fileName, export_texts::kExportFilter,
                         export_texts::kCsvExtension, protectedPlaces},
                        write);
    if (target.isEmpty())
        return false;
    const QString exported =
        export_texts::kExported.arg(rowCount).arg(QDir::toNativeSeparators(target));
    showPassingMessage(parent, exported);
    CaseDesk::instance().record(parent, trail::kExported, exported);
    return true;
}

bool exportSwipes(QWidget* parent, const QList<Swipe>& swipes, const QString& fileName,
                  const QStringList& protectedPlaces)
{
    return exportCsv(parent, fileName, protectedPlaces, swipes.size(), [&](const QString& target) {
        return exportSwipesCsv(swipes, target, protectedPlaces);
    });
}

bool exportExceptions(QWidget* parent, const QList<ExceptionHit>& hits, const QString& fileName,
                      const QStringList& protectedPlaces)
{
    return exportCsv(parent, fileName, protectedPlaces, hits.size(), [&](const QString& target) {
        return exportExceptionsCsv(hits, target, protectedPlaces);
    });
}

namespace {

// Asks where to save the copy of photoPath (proposed, the photo's own name at first) and copies
// it; a failed copy is said and asked again with the same name.
void copyPhotoAskingAgain(QWidget* parent, const QString& photoPath, const QString& proposed,
                          const QStringList& protectedPlaces,
                          const std::function<void(bool written)>& finish)
{
    const QString target = askSaveTarget(parent, {export_texts::kPhotoDialogTitle, proposed,
                                                  export_texts::kPhotoFilter,
                                                  export_texts::kPhotoExtension, protectedPlaces});
    if (target.isEmpty()) {
        finish(false);
        return;
    }
    // Without a parent window the answer still needs an object on the interface thread.
    QObject* const owner = parent ? static_cast<QObject*>(parent) : qApp;
    runOnSiteIo(
        owner,
        [photoPath, target, protectedPlaces] {
            return copyFileSafely(photoPath, target, protectedPlaces, kMaxPhotoFileBytes);
        },
        [parent, finish, photoPath, protectedPlaces](const SafeWriteResult& result) {
            if (!reportSafeWrite(parent, result)) {
                if (result.status == SafeWriteStatus::SourceUnreadable)
                    finish(false);
                else
                    copyPhotoAskingAgain(parent, photoPath, result.path, protectedPlaces, finish);
                return;
            }
            showPassingMessage(
                parent, export_texts::kPhotoSaved.arg(QDir::toNativeSeparators(result.path)));
            recordWritten(parent, trail::kPhotoSaved, QDir::toNativeSeparators(photoPath),
                          result.path);
            finish(true);
        });
}

} // namespace

void saveShownPhoto(QWidget* parent, const QString& photoPath, const QStringList& protectedPlaces,
                    const std::function<void(bool written)>& done)
{
    const auto finish = [done](bool written) {
        if (done)
            done(written);
    };
    if (photoPath.isEmpty()) {
        showMessage(parent, export_texts::kNoPhoto);
        finish(false);
        return;
    }
    copyPhotoAskingAgain(parent, photoPath, QFileInfo(photoPath).fileName(), protectedPlaces,
                         finish);
}

void copyRowToClipboard(const RecordTable& table, QDate day, qsizetype row)
{
    if (row < 0 || row >= table.rowCount())
        return;
    QApplication::clipboard()->setText(recordCopyLine(table, day, row));
}

void showPassingMessage(QWidget* window, const QString& text)
{
    if (!window)
        return;
    const QPoint foot = window->mapToGlobal(QPoint(0, window->height()));
    QToolTip::showText(foot, text, window, {}, kPassingMessageMs);
}

} // namespace card
