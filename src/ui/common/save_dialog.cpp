#include "ui/common/save_dialog.h"

#include "core/platform/save_folder.h"
#include "core/platform/save_target.h"
#include "ui/common/accessible_names.h"
#include "ui/common/export_texts.h"
#include "ui/common/message_box.h"
#include "ui/common/results_export.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QStandardPaths>

namespace card {

namespace {

// The file list's modification times in the locale's date form and a 24-hour clock: Qt writes
// them in the system locale's short form, whose Chinese hour pattern it cannot render
// ("2026/12/8 B1:26").
class LocaleFileDates : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override
    {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || index.column() != kModifiedColumn || !files)
            return QIdentityProxyModel::data(index, role);
        const QDateTime modified = files->lastModified(mapToSource(index));
        return QLocale().toString(modified.date(), QLocale::ShortFormat) + u' ' +
               modified.time().toString(QStringLiteral("HH:mm"));
    }

private:
    static constexpr int kModifiedColumn = 3; // the file system model's "Date Modified"
};

// The folder the dialog opens in: proposed's own when it is a whole path whose folder exists,
// else the folder last used for the extension, Documents or home, the first that exists.
QString openingFolder(const QString& proposed, const QString& extension)
{
    const QFileInfo file(proposed);
    return proposedSaveFolder(file.isAbsolute() ? file.absolutePath() : lastSaveFolder(extension),
                              QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                              QDir::homePath());
}

// The dialog's own overwrite question would come before the refusal: the product asks itself.
// The name field holds the bare name: its folder is the dialog's, never a relative path.
QString askTypedPath(QWidget* parent, const SaveQuestion& question, const QString& proposed)
{
    QFileDialog dialog(parent, question.title, openingFolder(proposed, question.extension),
                       question.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOptions(QFileDialog::DontConfirmOverwrite | QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new LocaleFileDates(&dialog));
    dialog.selectFile(QFileInfo(proposed).fileName());
    dialog.setObjectName(QStringLiteral("save_dialog"));
    describeControlsByName(&dialog);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

} // namespace

QString askSaveTarget(QWidget* parent, const SaveQuestion& question)
{
    QString proposed = question.proposedPath;
    for (;;) {
        const QString typed = askTypedPath(parent, question, proposed);
        if (typed.isEmpty())
            return {};
        const SaveTarget target =
            judgeSaveTarget(typed, question.extension, question.protectedPlaces);
        proposed = target.path;
        if (target.refused()) {
            reportSafeWrite(parent, {SafeWriteStatus::Refused, target.path, target.refusedBy});
            continue;
        }
        if (!target.exists || askYesNo(parent, QDir::toNativeSeparators(target.path) + u'\n' +
                                                   export_texts::kReplaceQuestion)) {
            rememberSaveFolder(question.extension, QFileInfo(target.path).absolutePath());
            return target.path;
        }
    }
}

} // namespace card
