// The controls of the main window, by their roles; their control names are their objectNames.
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
    std::array<QLabel*, 4> fieldCaptions{}; // Label1(0) to Label1(3)
    QDateEdit* datePicker = nullptr;        // DTPicker1
    QCheckBox* cardFilterCheck = nullptr;   // Check1
    QLineEdit* cardNumberEdit = nullptr;    // Text2
    // Option1(0) 進, Option1(1) 出, Option1(2) 全選
    std::array<QRadioButton*, 3> directionOptions{};
    QButtonGroup* directionGroup = nullptr;
    QPushButton* clearButton = nullptr;    // Command1
    QPushButton* queryButton = nullptr;    // Command2
    QPushButton* loadButton = nullptr;     // Command3
    std::array<QLabel*, 2> timeHeadings{}; // Label2(0) over the lists, Label2(1) in the details
    QLabel* cardHeading = nullptr;         // Label3
    QLabel* nameHeading = nullptr;         // Label4
    QLabel* directionHeading = nullptr;    // Label5
    // List1(0) time, List1(1) card number, List1(2) name, List1(3) direction
    std::array<RecordListView*, 4> resultLists{};
    QLabel* statusLine = nullptr;        // Label6
    QLabel* detailCardHeading = nullptr; // Label7
    QLabel* detailNameHeading = nullptr; // Label8
    QLabel* detailTypeHeading = nullptr; // Label10
    // Label9(0) day and time, Label9(1) card, Label9(2) name--direction, Label9(3) image type
    std::array<QLabel*, 4> detailValues{};
    QLabel* photoBox = nullptr;        // Image1
    QLabel* fallbackPicture = nullptr; // Image2: the no-photo picture, never shown itself
    QTimer* playbackTimer = nullptr;   // Timer1
};

} // namespace card
