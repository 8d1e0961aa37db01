#include "ui/common/save_dialog.h"

#include "core/platform/save_target.h"
#include "ui/common/accessible_names.h"
#include "ui/common/export_texts.h"
#include "ui/common/message_box.h"
#include "ui/common/results_export.h"

#include <QDir>
#include <QFileDialog>

namespace card {

namespace {

// The dialog's own overwrite question would come before the refusal: the product asks itself.
QString askTypedPath(QWidget* parent, const SaveQuestion& question, const QString& proposed)
{
    QFileDialog dialog(parent, question.title, proposed, question.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOptions(QFileDialog::DontConfirmOverwrite | QFileDialog::DontUseNativeDialog);
    dialog.selectFile(proposed);
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
                                                   export_texts::kReplaceQuestion))
            return target.path;
    }
}

} // namespace card
