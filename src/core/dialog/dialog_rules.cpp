#include "core/dialog/dialog_rules.h"

#include "core/platform/path_join.h"

namespace card {

namespace {

const QString kLowerExtension = QStringLiteral(".spf");
const QString kUpperExtension = QStringLiteral(".SPF");

ConfirmOutcome stay(const QString& message)
{
    return {ConfirmNext::Stay, message};
}

ConfirmOutcome close()
{
    return {ConfirmNext::Close, {}};
}

ConfirmOutcome pressInFolderMode(DialogPara& dialog_para, ConfirmButton button,
                                 const ConfirmFields& fields)
{
    if (button == ConfirmButton::Select)
        dialog_para[kDialogFolderSlot] = fields.openFolder;
    else if (button == ConfirmButton::Cancel)
        dialog_para[kDialogFolderSlot].clear();
    dialog_para[kDialogCodeSlot].clear();
    return close();
}

ConfirmOutcome pressNewName(DialogPara& dialog_para, const ConfirmFields& fields,
                            const ExistenceTest& fileExists)
{
    if (fields.typedName.isEmpty())
        return stay(kNoNameMessage);
    dialog_para[kDialogPathSlot] = newParameterFilePath(fields.fileFolder, fields.typedName);
    if (fileExists(dialog_para[kDialogPathSlot]))
        return {ConfirmNext::AskToContinue, kExistingFileQuestion};
    return answerContinue(dialog_para, true);
}

ConfirmOutcome pressSelect(DialogPara& dialog_para, const ConfirmFields& fields,
                           const ExistenceTest& fileExists)
{
    if (fields.typedName.isEmpty())
        return stay(kNoNameMessage);
    dialog_para[kDialogPathSlot] = joinPath(fields.fileFolder, fields.typedName);
    if (!fileExists(dialog_para[kDialogPathSlot]))
        return stay(kMissingFileMessage);
    dialog_para[kDialogCodeSlot] = kCodeSelected;
    return close();
}

ConfirmOutcome pressCancel(DialogPara& dialog_para)
{
    dialog_para[kDialogPathSlot].clear();
    dialog_para[kDialogCodeSlot] = kCodeCancelled;
    return close();
}

} // namespace

bool isFolderMode(const DialogPara& dialog_para)
{
    return dialog_para[kDialogCodeSlot] == kModeFolder;
}

bool isLoadMode(const DialogPara& dialog_para)
{
    return dialog_para[kDialogCodeSlot] == kModeLoad;
}

QString newParameterFilePath(const QString& folder, const QString& name)
{
    QString path = joinPath(folder, name);
    if (!path.endsWith(kLowerExtension, Qt::CaseSensitive) &&
        !path.endsWith(kUpperExtension, Qt::CaseSensitive))
        path += kLowerExtension;
    return path;
}

ConfirmOutcome pressConfirm(DialogPara& dialog_para, ConfirmButton button,
                            const ConfirmFields& fields, const ExistenceTest& fileExists)
{
    if (isFolderMode(dialog_para))
        return pressInFolderMode(dialog_para, button, fields);
    switch (button) {
    case ConfirmButton::NewName:
        return pressNewName(dialog_para, fields, fileExists);
    case ConfirmButton::Select:
        return pressSelect(dialog_para, fields, fileExists);
    case ConfirmButton::Cancel:
        break;
    }
    return pressCancel(dialog_para);
}

ConfirmOutcome answerContinue(DialogPara& dialog_para, bool yes)
{
    if (!yes)
        return stay({});
    dialog_para[kDialogCodeSlot] = kCodeNewName;
    return close();
}

} // namespace card
