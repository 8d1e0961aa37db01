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

ConfirmOutcome pressInFolderMode(FileSelectExchange& exchange, ConfirmButton button,
                                 const ConfirmFields& fields)
{
    if (button == ConfirmButton::Select)
        exchange.folder = fields.openFolder;
    else if (button == ConfirmButton::Cancel)
        exchange.folder.clear();
    exchange.result = FileSelectResult::None; // folder mode ends without a result
    return close();
}

ConfirmOutcome pressNewName(FileSelectExchange& exchange, const ConfirmFields& fields,
                            const ExistenceTest& fileExists)
{
    if (fields.typedName.isEmpty())
        return stay(kNoNameMessage);
    exchange.path = *testedPath(exchange, ConfirmButton::NewName, fields);
    if (fileExists(exchange.path))
        return {ConfirmNext::AskToContinue, kExistingFileQuestion};
    return answerContinue(exchange, true);
}

ConfirmOutcome pressSelect(FileSelectExchange& exchange, const ConfirmFields& fields,
                           const ExistenceTest& fileExists)
{
    if (fields.typedName.isEmpty())
        return stay(kNoNameMessage);
    exchange.path = *testedPath(exchange, ConfirmButton::Select, fields);
    if (!fileExists(exchange.path))
        return stay(kMissingFileMessage);
    exchange.result = FileSelectResult::Selected;
    return close();
}

ConfirmOutcome pressCancel(FileSelectExchange& exchange)
{
    exchange.path.clear();
    exchange.result = FileSelectResult::Cancelled;
    return close();
}

} // namespace

QString newParameterFilePath(const QString& folder, const QString& name)
{
    QString path = joinPath(folder, name);
    if (!path.endsWith(kLowerExtension, Qt::CaseSensitive) &&
        !path.endsWith(kUpperExtension, Qt::CaseSensitive))
        path += kLowerExtension;
    return path;
}

std::optional<QString> testedPath(const FileSelectExchange& exchange, ConfirmButton button,
                                  const ConfirmFields& fields)
{
    if (exchange.mode == FileSelectMode::Folder || fields.typedName.isEmpty())
        return std::nullopt;
    switch (button) {
    case ConfirmButton::NewName:
        return newParameterFilePath(fields.fileFolder, fields.typedName);
    case ConfirmButton::Select:
        return joinPath(fields.fileFolder, fields.typedName);
    case ConfirmButton::Cancel:
        break;
    }
    return std::nullopt;
}

ConfirmOutcome pressConfirm(FileSelectExchange& exchange, ConfirmButton button,
                            const ConfirmFields& fields, const ExistenceTest& fileExists)
{
    if (exchange.mode == FileSelectMode::Folder)
        return pressInFolderMode(exchange, button, fields);
    switch (button) {
    case ConfirmButton::NewName:
        return pressNewName(exchange, fields, fileExists);
    case ConfirmButton::Select:
        return pressSelect(exchange, fields, fileExists);
    case ConfirmButton::Cancel:
        break;
    }
    return pressCancel(exchange);
}

ConfirmOutcome answerContinue(FileSelectExchange& exchange, bool yes)
{
    if (!yes)
        return stay({});
    exchange.result = FileSelectResult::NewName;
    return close();
}

} // namespace card
