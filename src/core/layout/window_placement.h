// Where a second window opens so that it hides as little as possible of the window it serves.
#pragma once

#include <QRect>
#include <QSize>

namespace card {

// The outer rectangle for a window of size beside anchor, both outer rectangles, on the screen's
// available area. Beside it means in the free room to the right, left, below or above anchor,
// level with it as far as the room allows: the side where the window keeps the largest area, at
// most size and at least smallest (it is made smaller to fit). Without such room the window keeps
// size (bounded to the screen) and goes, inside the screen, where it covers the least of anchor.
QRect placeBeside(const QRect& anchor, QSize size, QSize smallest, const QRect& screen);

} // namespace card
