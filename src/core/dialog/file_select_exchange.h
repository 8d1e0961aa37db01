// What the main window asks of the dialog file_select and what the dialog answers.
#pragma once

#include <QString>

namespace card {

// How the dialog opens. General is the opening without a recognised mode: new, select and
// cancel all offered.
enum class FileSelectMode { General, Folder, Load };

// How the dialog ended. None: closed by its frame, a refused press, or the end of folder mode.
enum class FileSelectResult { None, NewName, Selected, Cancelled };

struct FileSelectExchange {
    QString title;
    FileSelectMode mode = FileSelectMode::General;
    FileSelectResult result = FileSelectResult::None;
    // The chosen file. Nothing clears it between openings: a frame close leaves the earlier one.
    QString path;
    // Folder mode: the start folder on entry ("" for none), the chosen folder on exit.
    QString folder;

    // Sets up one opening: its title and mode, no result yet; path and folder keep their values.
    void request(const QString& openingTitle, FileSelectMode openingMode)
    {
        title = openingTitle;
        mode = openingMode;
        result = FileSelectResult::None;
    }
};

} // namespace card
