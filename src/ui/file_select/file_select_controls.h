// The controls of the dialog file_select, by their roles. Their control names are their
// objectNames.
#pragma once

class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace card {

struct FileSelectControls {
    QLabel* driveCaption = nullptr;            // Label1(0)
    QLabel* folderCaption = nullptr;           // Label1(1)
    QLabel* fileListCaption = nullptr;         // Label1(2)
    QLabel* fileNameCaption = nullptr;         // Label1(3)
    QComboBox* driveList = nullptr;            // Drive1
    QListView* folderList = nullptr;           // Dir1
    QListView* fileList = nullptr;             // File1
    QPushButton* addFolderButton = nullptr;    // Cmd_Add
    QPushButton* removeFolderButton = nullptr; // Cmd_Del
    QLineEdit* fileNameEdit = nullptr;         // Text1
    QPushButton* newButton = nullptr;          // Command1(0)
    QPushButton* selectButton = nullptr;       // Command1(1)
    QPushButton* cancelButton = nullptr;       // Command1(2)
};

} // namespace card
