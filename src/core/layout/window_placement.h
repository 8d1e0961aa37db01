// Where a second window opens so that it hides as little as possible of the window it serves.
#pragma once

#include <QRect>
#include <QSize>

namespace card {

// The outer rectangle for a window of size (bounded to the screen) beside anchor, both outer
// rectangles on the screen's available area: to the right, left, below or above, the first side
// with room for it whole, level with anchor as far as the screen allows. Without such room it is
// placed, inside the screen, where it covers the least of anchor.
QRect placeBeside(const QRect& anchor, QSize size, const QRect& screen);

} // namespace card
