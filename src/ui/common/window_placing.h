// Where each window of ours first opens, and how it is brought back.
#pragma once

#include <QSize>

class QWidget;

namespace card {

// Places window beside served where there is room (made smaller to fit, down to smallest, or
// to its smallest useful size when none is given), and otherwise where it covers the least of
// served. Called once, before window is first shown: a window of ours is hidden when closed, so
// it keeps the place and size the operator gives it for the rest of the session.
void placeBesideWindow(QWidget& window, const QWidget& served, QSize smallest = {});

// Gives window its opening size, made smaller on a small screen: at most 90 % of its room.
void resizeWithinScreen(QWidget& window, QSize opening);

// Shows window (restored if it was minimised) in front of the others, with the keyboard.
void bringToFront(QWidget& window);

} // namespace card
