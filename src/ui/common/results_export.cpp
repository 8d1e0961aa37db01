#include "ui/common/results_export.h"

#include "core/platform/site_io_pool.h"
#include "core/records/record_export.h"
#include "ui/common/export_texts.h"
#include "ui/common/message_box.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QPromise>
#include <QStandardPaths>
#include <QThreadPool>

#include <memory>

namespace card {

namespace {

QString documentsPath(const QString& fileName)
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
        .filePath(fileName);
}

// The busy cursor while a file is written.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

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
        return kCannotCreate + u'\n' + path + u'\n' + kReasonPrefix + result.reason + u'\n' +
               kNothingChanged;
    case SafeWriteStatus::WriteFailed:
        return kCannotWrite + u'\n' + path + u'\n' + kReasonPrefix + result.reason + u'\n' +
               kNothingChanged;
    case SafeWriteStatus::CommitFailed:
        return kCannotCommit + u'\n' + path + u'\n' + kReasonPrefix + result.reason + u'\n' +
               kNothingChanged;
    }
    return {};
}

bool reportSafeWrite(QWidget* parent, const SafeWriteResult& result)
{
    if (!result.ok())
        showMessage(parent, safeWriteMessage(result));
    return result.ok();
}

bool exportListedRows(QWidget* parent, const RecordTable& table, QDate queriedDay,
                      const QString& recordsFolder, const QString& photoFolder)
{
    const QString target =
        QFileDialog::getSaveFileName(parent, export_texts::kExportDialogTitle,
                                     proposedCsvPath(queriedDay), export_texts::kExportFilter);
    if (target.isEmpty())
        return false;
    SafeWriteResult result;
    {
        const WaitCursor busy;
        result = exportRecordsCsv(table, target, {recordsFolder, photoFolder});
    }
    return reportSafeWrite(parent, result);
}

bool exportSwipes(QWidget* parent, const QList<Swipe>& swipes, const QString& fileName,
                  const QString& recordsFolder, const QString& photoFolder)
{
    const QString target =
        QFileDialog::getSaveFileName(parent, export_texts::kExportDialogTitle,
                                     documentsPath(fileName), export_texts::kExportFilter);
    if (target.isEmpty())
        return false;
    SafeWriteResult result;
    {
        const WaitCursor busy;
        result = exportSwipesCsv(swipes, target, {recordsFolder, photoFolder});
    }
    return reportSafeWrite(parent, result);
}

void saveShownPhoto(QWidget* parent, const QString& photoPath, const QString& recordsFolder,
                    const QString& photoFolder, const std::function<void(bool written)>& done)
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
    const QString target = QFileDialog::getSaveFileName(
        parent, export_texts::kPhotoDialogTitle, documentsPath(QFileInfo(photoPath).fileName()),
        export_texts::kPhotoFilter);
    if (target.isEmpty()) {
        finish(false);
        return;
    }
    auto promise = std::make_shared<QPromise<SafeWriteResult>>();
    auto* watcher = new QFutureWatcher<SafeWriteResult>(parent);
    QObject::connect(watcher, &QFutureWatcher<SafeWriteResult>::finished, watcher,
                     [parent, watcher, finish] {
                         watcher->deleteLater();
                         finish(reportSafeWrite(parent, watcher->result()));
                     });
    watcher->setFuture(promise->future());
    const QStringList folders{recordsFolder, photoFolder};
    siteIoPool().start([promise, photoPath, target, folders] {
        promise->start();
        promise->addResult(copyFileSafely(photoPath, target, folders));
        promise->finish();
    });
}

void copyRowToClipboard(const RecordTable& table, qsizetype row)
{
    if (row < 0 || row >= table.rowCount())
        return;
    QApplication::clipboard()->setText(recordCopyLine(table, row));
}

} // namespace card
