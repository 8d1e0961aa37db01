// The design of the dialog file_select: its size and its control table.
#pragma once

#include "ui/common/control_table.h"

#include <span>

namespace card {

// The client area, in twips.
inline constexpr int kFileSelectWidthTwips = 4770;
inline constexpr int kFileSelectHeightTwips = 3465;

// Every control of the dialog, in stacking order.
std::span<const ControlRow> fileSelectControlTable();

} // namespace card
