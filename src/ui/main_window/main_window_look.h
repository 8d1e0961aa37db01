// How the main window's controls look: fonts, colours and pictures per kind of control.
#pragma once

#include "ui/common/control_table.h"

namespace card {

// The control factory of the main window's table: every entry made with its look.
QWidget* makeMainWindowControl(const ControlRow& row, QWidget* parent);

} // namespace card
