#include "core/layout/main_layout.h"

namespace card {

namespace {

HeightAction heightAction(const MainLayoutInput& in)
{
    if (in.height < in.baseHeight) {
        if (in.state == WindowShowState::Maximized)
            return {};
        return {HeightAction::Kind::RestoreWindowHeight, 0, 0};
    }
    return {HeightAction::Kind::SetHeights, in.height - in.listTop - kBottomMarginTwips,
            in.height - in.imageTop - kBottomMarginTwips};
}

WidthAction widthAction(const MainLayoutInput& in)
{
    if (in.width < in.baseWidth) {
        if (in.state == WindowShowState::Maximized)
            return {};
        return {WidthAction::Kind::RestoreWindowWidth, 0};
    }
    return {WidthAction::Kind::SetImageWidth, in.width - in.imageLeft - kRightMarginTwips};
}

} // namespace

MainLayout computeMainLayout(const MainLayoutInput& input)
{
    if (input.state == WindowShowState::Minimized)
        return {};
    return {heightAction(input), widthAction(input)};
}

} // namespace card
