#include "ui/file_select/file_select_layout.h"

namespace card {

namespace {

using enum ControlKind;

// The folder buttons come before the lists: File1 lies over them and covers them while it
// shows, so they come into view only in folder mode. Labels are named by their captions; the
// controls without one by their role in words.
// clang-format off
constexpr ControlSpec kControls[] = {
    // object name   kind        caption          twips: left, top, width, height  name
    {"Label1(0)",    Label,      u"選擇磁碟",      {180, 225, 915, 240},    nullptr},
    {"Drive1",       ComboBox,   nullptr,          {120, 450, 1830, 300},   u"磁碟清單"},
    {"Label1(1)",    Label,      u"選擇路徑",      {180, 855, 915, 240},    nullptr},
    {"Label1(2)",    Label,      u"檔案清單",      {2160, 225, 915, 240},   nullptr},
    {"Cmd_Add",      PushButton, u"新增資料夾",    {2205, 495, 1050, 420},  nullptr},
    {"Cmd_Del",      PushButton, u"刪除資料夾",    {2205, 1440, 1050, 420}, nullptr},
    {"Dir1",         ListView,   nullptr,          {120, 1110, 1845, 1350}, u"路徑清單"},
    {"File1",        ListView,   nullptr,          {2160, 450, 2355, 1830}, u"檔案清單"},
    {"Label1(3)",    Label,      u"檔案名稱:",     {270, 2610, 915, 240},   nullptr},
    {"Text1",        LineEdit,   nullptr,          {1125, 2565, 3390, 285}, u"檔案名稱文字方塊"},
    {"Command1(0)",  PushButton, u"新增",          {795, 2985, 1095, 375},  nullptr},
    {"Command1(1)",  PushButton, u"選擇",          {2115, 3000, 1095, 375}, nullptr},
    {"Command1(2)",  PushButton, u"取消",          {3435, 3000, 1095, 375}, nullptr},
};
// clang-format on

} // namespace

std::span<const ControlSpec> fileSelectControlTable()
{
    return kControls;
}

} // namespace card
