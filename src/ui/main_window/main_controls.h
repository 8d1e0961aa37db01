// The controls of the main window the program reads or writes, by their roles; their control
// names are their objectNames. Captions and headings live in the control table only.
#pragma once

#include <array>

class QButtonGroup;
class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace card {

class RecordListView;

struct MainControls {
    QDateEdit* datePicker = nullptr;      // DTPicker1
    QCheckBox* cardFilterCheck = nullptr; // Check1
    QLineEdit* cardNumberEdit = nullptr;  // Text2
    // Option1(0) 進, Option1(1) 出, Option1(2) 全選
    std::array<QRadioButton*, 3> directionOptions{};
    QButtonGroup* directionGroup = nullptr;
    QPushButton* clearButton = nullptr; // Command1
    QPushButton* queryButton = nullptr; // Command2
    QPushButton* loadButton = nullptr;  // Command3
    // List1(0) time, List1(1) card number, List1(2) name, List1(3) direction
    std::array<RecordListView*, 4> resultLists{};
    QLabel* statusLine = nullptr; // Label6
    // Label9(0) day and time, Label9(1) card, Label9(2) name--direction, Label9(3) image type
    std::array<QLabel*, 4> detailValues{};
    QLabel* photoBox = nullptr;        // Image1
    QLabel* fallbackPicture = nullptr; // Image2: the no-photo picture, never shown itself
    QTimer* playbackTimer = nullptr;   // Timer1
};

} // namespace card
