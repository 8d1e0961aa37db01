// The design of the main window Card_Image: its size and its control table.
#pragma once

#include "ui/common/control_table.h"

#include <span>

namespace card {

// The client area, in twips.
inline constexpr int kMainWindowWidthTwips = 8010;
inline constexpr int kMainWindowHeightTwips = 4155;

// Every control of the main window, in stacking order.
std::span<const ControlRow> mainWindowControlTable();

} // namespace card
