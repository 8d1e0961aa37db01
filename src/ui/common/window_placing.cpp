#include "ui/common/window_placing.h"

#include "core/layout/window_placement.h"

#include <QScreen>
#include <QWidget>

namespace card {

// A window's frame is not known before it is shown: the served window's stands in for it.
void placeBesideWindow(QWidget& window, const QWidget& served, QSize smallest)
{
    const QSize frame = served.frameGeometry().size() - served.size();
    const QSize least = smallest.isValid() ? smallest : window.minimumSizeHint();
    const QRect outer = placeBeside(served.frameGeometry(), window.size() + frame, least + frame,
                                    served.screen()->availableGeometry());
    window.resize(outer.size() - frame);
    window.move(outer.topLeft());
}

void resizeWithinScreen(QWidget& window, QSize opening)
{
    const QSize room = window.screen()->availableGeometry().size() * 9 / 10;
    window.resize(opening.boundedTo(room));
}

void bringToFront(QWidget& window)
{
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace card
