#include "core/layout/main_layout.h"

namespace card {

namespace {

HeightAction heightAction(const MainLayoutInput& in)
{
    if (in.height < in.base_height) {
        if (in.state == WindowShowState::Maximized)
            return {};
        return {HeightAction::Kind::RestoreWindowHeight, 0, 0};
    }
    return {HeightAction::Kind::SetHeights, in.height - in.list_top - kBottomMarginTwips,
            in.height - in.image_top - kBottomMarginTwips};
}

WidthAction widthAction(const MainLayoutInput& in)
{
    if (in.width < in.base_width) {
        if (in.state == WindowShowState::Maximized)
            return {};
        return {WidthAction::Kind::RestoreWindowWidth, 0};
    }
    return {WidthAction::Kind::SetImageWidth, in.width - in.image_left - kRightMarginTwips};
}

} // namespace

MainLayout compute_main_layout(const MainLayoutInput& input)
{
    if (input.state == WindowShowState::Minimized)
        return {};
    return {heightAction(input), widthAction(input)};
}

} // namespace card
