// The controls of the dialog file_select, by their names.
#pragma once

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace card {

struct FileSelectControls {
    std::array<QLabel*, 4> Label1{};
    QComboBox* Drive1 = nullptr;
    QListView* Dir1 = nullptr;
    QListView* File1 = nullptr;
    QPushButton* Cmd_Add = nullptr;
    QPushButton* Cmd_Del = nullptr;
    QLineEdit* Text1 = nullptr;
    std::array<QPushButton*, 3> Command1{};
};

} // namespace card
