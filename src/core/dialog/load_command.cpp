#include "core/dialog/load_command.h"

namespace card {

void requestParameterFile(FileSelectExchange& exchange)
{
    exchange.request(kLoadDialogTitle, FileSelectMode::Load);
}

QString chosenParameterFile(const FileSelectExchange& exchange)
{
    // A selection with an empty path loads nothing.
    if (exchange.result != FileSelectResult::Selected)
        return {};
    return exchange.path;
}

QString loadedCaption(const QString& path)
{
    return kLoadedCaptionPrefix + path;
}

QString badFileCaption(const QString& caption)
{
    return caption + kBadFileCaptionSuffix;
}

} // namespace card
