// How the result lists and the photo box follow the main window's size.
#pragma once

#include <QtGlobal>

namespace card {

enum class WindowShowState { Normal, Minimized, Maximized };

inline constexpr double kBottomMarginTwips = 700;
inline constexpr double kRightMarginTwips = 350;

// Everything in twips; width and height are the window's outer size, frame included.
struct MainLayoutInput {
    WindowShowState state = WindowShowState::Normal;
    double width = 0;
    double height = 0;
    qint16 baseWidth = 0;
    qint16 baseHeight = 0;
    double listTop = 0;
    double imageTop = 0;
    double imageLeft = 0;
};

struct HeightAction {
    enum class Kind { None, RestoreWindowHeight, SetHeights };
    Kind kind = Kind::None;
    double listHeight = 0;  // for all four lists
    double imageHeight = 0; // for the photo box
};

struct WidthAction {
    enum class Kind { None, RestoreWindowWidth, SetImageWidth };
    Kind kind = Kind::None;
    double imageWidth = 0;
};

// Applied in this order: the height action, then the width action.
struct MainLayout {
    HeightAction height;
    WidthAction width;
};

// A window below its base size springs back to it, except when maximized (the window system
// decides a maximized window's size; it is then left as it is). A minimized window changes
// nothing. Comparisons are strict: a window exactly at its base size is laid out.
MainLayout computeMainLayout(const MainLayoutInput& input);

} // namespace card
