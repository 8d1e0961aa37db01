// What the confirm buttons of file_select check, write into the exchange and show.
#pragma once

#include "core/dialog/dialog_texts.h"
#include "core/dialog/file_select_exchange.h"
#include "core/platform/file_exists.h"

#include <QString>

#include <optional>

namespace card {

// The dialog's three buttons: new name, select, cancel.
enum class ConfirmButton { NewName = 0, Select = 1, Cancel = 2 };

enum class ConfirmNext {
    Stay,          // show the message, if any, and keep the dialog open
    Close,         // the exchange is written; close the dialog
    AskToContinue, // ask the message as a Yes/No question, then call answerContinue
};

struct ConfirmOutcome {
    ConfirmNext next = ConfirmNext::Stay;
    QString message;
};

// What the dialog's controls hold at the press.
struct ConfirmFields {
    QString typedName;  // the file name field, exactly as typed
    QString fileFolder; // the file list's folder
    QString openFolder; // the folder open in the folder list
};

// The path "新增" returns: folder, one separator, the name, and ".spf" unless the path already
// ends in ".spf" or ".SPF".
QString newParameterFilePath(const QString& folder, const QString& name);

// The path whose existence the rule of a press will test, or nothing when it decides without a
// test. The dialog tests it away from the interface thread, then runs pressConfirm with the
// answer.
std::optional<QString> testedPath(const FileSelectExchange& exchange, ConfirmButton button,
                                  const ConfirmFields& fields);

// Runs the rule of one confirm button against the exchange of the opening.
ConfirmOutcome pressConfirm(FileSelectExchange& exchange, ConfirmButton button,
                            const ConfirmFields& fields, const ExistenceTest& fileExists);

// Ends a "新增" that asked whether to reuse an existing name.
ConfirmOutcome answerContinue(FileSelectExchange& exchange, bool yes);

} // namespace card
