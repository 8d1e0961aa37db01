#include "ui/main_window/main_window_layout.h"

#include "ui/main_window/main_window_texts.h"

namespace card {

namespace {

using enum ControlKind;

// Query controls, then the result lists, then the details; the status line lies over the top
// right corner and comes last. Labels are named by their captions, the controls without one by
// their role in words.
// clang-format off
constexpr ControlRow kControls[] = {
    // control name kind          caption             twips: left, top, w, h   accessible name
    {"Label1(0)",   Label,        kDateCaption,       {180, 270, 915, 285},    nullptr},
    {"DTPicker1",   DatePicker,   nullptr,            {1170, 225, 1455, 330},  kDatePickerName},
    {"Check1",      CheckBox,     nullptr,            {225, 675, 240, 285},    kCardFilterName},
    {"Label1(1)",   Label,        kCardCaption,       {540, 720, 600, 240},    nullptr},
    {"Text2",       LineEdit,     nullptr,            {1170, 675, 1410, 330},  kCardNumberName},
    {"Label1(2)",   Label,        kDirectionCaption,  {180, 1260, 915, 240},   nullptr},
    {"Option1(0)",  RadioButton,  kInCaption,         {1170, 1125, 555, 240},  nullptr},
    {"Option1(1)",  RadioButton,  kOutCaption,        {1800, 1125, 555, 240},  nullptr},
    {"Option1(2)",  RadioButton,  kAllCaption,        {1170, 1395, 735, 240},  nullptr},
    {"Command2",    PushButton,   kQueryCaption,      {3540, 225, 855, 420},   nullptr},
    {"Command1",    PushButton,   kClearCaption,      {3540, 630, 855, 420},   nullptr},
    {"Command3",    PushButton,   kLoadCaption,       {3540, 1125, 855, 420},  nullptr},
    {"Label2(0)",   HeadingLabel, kTimeHeading,       {135, 1665, 1185, 240},  nullptr},
    {"Label3",      HeadingLabel, kCardHeading,       {1305, 1665, 1320, 240}, nullptr},
    {"Label4",      HeadingLabel, kNameHeading,       {2625, 1665, 1140, 240}, nullptr},
    {"Label5",      HeadingLabel, kDirectionHeading,  {3765, 1665, 630, 240},  nullptr},
    {"List1(0)",    RecordListView, nullptr,          {135, 1890, 1170, 1860}, kTimeListName},
    {"List1(1)",    RecordListView, nullptr,          {1290, 1890, 1320, 1860}, kCardListName},
    {"List1(2)",    RecordListView, nullptr,          {2610, 1890, 1155, 1860}, kNameListName},
    {"List1(3)",    RecordListView, nullptr,          {3750, 1890, 630, 1860}, kDirectionListName},
    {"Label1(3)",   Label,        kPhotoDataCaption,  {4575, 225, 915, 285},   nullptr},
    {"Label2(1)",   HeadingLabel, kTimeHeading,       {4590, 540, 915, 240},   nullptr},
    {"Label7",      HeadingLabel, kCardHeading,       {4590, 765, 915, 240},   nullptr},
    {"Label8",      HeadingLabel, kNameStateHeading,  {4590, 990, 915, 240},   nullptr},
    {"Label10",     HeadingLabel, kPhotoTypeHeading,  {4590, 1215, 915, 240},  nullptr},
    {"Label9(0)",   ValueLabel,   nullptr,            {5490, 540, 2355, 240},  nullptr},
    {"Label9(1)",   ValueLabel,   nullptr,            {5490, 765, 2355, 240},  nullptr},
    {"Label9(2)",   ValueLabel,   nullptr,            {5490, 990, 2355, 240},  nullptr},
    {"Label9(3)",   ValueLabel,   nullptr,            {5490, 1215, 2355, 240}, nullptr},
    {"Image1",      PictureBox,   nullptr,            {4575, 1635, 3300, 2175}, kPhotoBoxName},
    {"Image2",      PictureBox,   nullptr,            {7425, 135, 420, 375},   kFallbackPictureName},
    {"Label6",      StatusLabel,  nullptr,            {5265, 45, 2670, 465},   nullptr},
};
// clang-format on

} // namespace

std::span<const ControlRow> mainWindowControlTable()
{
    return kControls;
}

} // namespace card
