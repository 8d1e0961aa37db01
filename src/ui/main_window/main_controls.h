// The controls of the main window, by their names.
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
    std::array<QLabel*, 4> Label1{};
    QDateEdit* DTPicker1 = nullptr;
    QCheckBox* Check1 = nullptr;
    QLineEdit* Text2 = nullptr;
    std::array<QRadioButton*, 3> Option1{};
    QButtonGroup* directionGroup = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    std::array<QLabel*, 2> Label2{};
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    std::array<RecordListView*, 4> List1{};
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label10 = nullptr;
    std::array<QLabel*, 4> Label9{};
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QTimer* Timer1 = nullptr;
};

} // namespace card
