// The main window's own state, kept apart from its widgets.
#pragma once

#include "core/parameters/parameter_table.h"

#include <QString>

#include <array>

namespace card {

inline constexpr int kCurRecSlots = 5;
inline constexpr int kCurRecDate = 0;  // day of the last query, YYMMDD
inline constexpr int kCurRecTime = 1;  // time of the selected swipe, hhmmss
inline constexpr int kCurRecCard = 2;  // card number of the selected swipe
inline constexpr int kCurRecPhoto = 4; // path of the photo file chosen last

struct MainWindowState {
    ParameterTable para;
    std::array<QString, kCurRecSlots> cur_rec;
    // The photo file Image1 shows; empty while it shows the start or the fallback picture.
    QString shownPhoto;
    // The window's outer size in twips at creation: the smallest size it keeps.
    qint16 base_width = 0;
    qint16 base_height = 0;
};

} // namespace card
