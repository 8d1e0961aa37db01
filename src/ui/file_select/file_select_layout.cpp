#include "ui/file_select/file_select_layout.h"

#include "core/dialog/dialog_texts.h"

namespace card {

namespace {

using enum ControlKind;

// The folder buttons come before the lists: the file list lies over them and covers them while it
// shows, so they come into view only in folder mode. Labels are named by their captions; the
// controls without one by their role in words.
// clang-format off
constexpr ControlRow kControls[] = {
    // control name kind        caption               twips: left, top, w, h   accessible name
    {"Label1(0)",   Label,      kDriveCaption,        {180, 225, 915, 240},    nullptr},
    {"Drive1",      ComboBox,   nullptr,              {120, 450, 1830, 300},   kDriveListName},
    {"Label1(1)",   Label,      kFolderCaption,       {180, 855, 915, 240},    nullptr},
    {"Label1(2)",   Label,      kFileListCaption,     {2160, 225, 915, 240},   nullptr},
    {"Cmd_Add",     PushButton, kAddFolderCaption,    {2205, 495, 1050, 420},  nullptr},
    {"Cmd_Del",     PushButton, kRemoveFolderCaption, {2205, 1440, 1050, 420}, nullptr},
    {"Dir1",        ListView,   nullptr,              {120, 1110, 1845, 1350}, kFolderListName},
    {"File1",       ListView,   nullptr,              {2160, 450, 2355, 1830}, kFileListName},
    {"Label1(3)",   Label,      kFileNameCaption,     {270, 2610, 915, 240},   nullptr},
    {"Text1",       LineEdit,   nullptr,              {1125, 2565, 3390, 285}, kFileNameEditName},
    {"Command1(0)", PushButton, kNewCaption,          {795, 2985, 1095, 375},  nullptr},
    {"Command1(1)", PushButton, kSelectCaption,       {2115, 3000, 1095, 375}, nullptr},
    {"Command1(2)", PushButton, kCancelCaption,       {3435, 3000, 1095, 375}, nullptr},
};
// clang-format on

} // namespace

std::span<const ControlRow> fileSelectControlTable()
{
    return kControls;
}

} // namespace card
