#include "core/dialog/load_command.h"

namespace card {

QString loadedCaption(const QString& path)
{
    return kLoadedCaptionPrefix + path;
}

QString badFileCaption(const QString& caption)
{
    return caption + kBadFileCaptionSuffix;
}

QString chosenParameterFile(const DialogPara& dialog_para)
{
    // The path is tested first: code "1" with an empty path loads nothing.
    const QString& path = dialog_para[kDialogPathSlot];
    if (path.isEmpty() || dialog_para[kDialogCodeSlot] != kCodeSelected)
        return {};
    return path;
}

bool loadParameterFile(const QString& path, const LoadCommandHost& host)
{
    // The caption names the file before it is read, so a bad file is named too.
    host.setCaption(loadedCaption(path));
    if (host.para_read(path))
        return true;
    host.setCaption(badFileCaption(host.caption()));
    return false;
}

void runLoadCommand(DialogPara& dialog_para, const LoadCommandHost& host)
{
    dialog_para[kDialogTitleSlot] = kLoadDialogTitle;
    dialog_para[kDialogCodeSlot] = kModeLoad;
    host.showFileSelect();
    const QString path = chosenParameterFile(dialog_para);
    if (path.isEmpty())
        return;
    loadParameterFile(path, host);
}

} // namespace card
