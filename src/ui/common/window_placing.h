// Where each window of ours first opens.
#pragma once

#include <QSize>

class QWidget;

namespace card {

// Places window beside served where there is room (made smaller to fit, down to smallest, or
// to its smallest useful size when none is given), and otherwise where it covers the least of
// served. Called once, before window is first shown: a window of ours is hidden when closed, so
// it keeps the place and size the operator gives it for the rest of the session.
void placeBesideWindow(QWidget& window, const QWidget& served, QSize smallest = {});

} // namespace card
