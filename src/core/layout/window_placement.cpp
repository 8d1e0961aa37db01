#include "core/layout/window_placement.h"

#include <algorithm>
#include <array>

namespace card {

namespace {

int clampInto(int start, int length, int low, int high)
{
    return std::clamp(start, low, std::max(low, high - length + 1));
}

// The rectangle moved inside the screen as little as needed.
QRect keptOnScreen(QRect rect, const QRect& screen)
{
    rect.moveTo(clampInto(rect.x(), rect.width(), screen.left(), screen.right()),
                clampInto(rect.y(), rect.height(), screen.top(), screen.bottom()));
    return rect;
}

qint64 coveredArea(const QRect& rect, const QRect& anchor)
{
    const QRect covered = rect.intersected(anchor);
    return covered.isEmpty() ? 0 : qint64(covered.width()) * covered.height();
}

} // namespace

QRect placeBeside(const QRect& anchor, QSize size, const QRect& screen)
{
    size = size.boundedTo(screen.size());
    const std::array<QPoint, 4> sides = {
        QPoint(anchor.right() + 1, anchor.top()),            // right
        QPoint(anchor.left() - size.width(), anchor.top()),  // left
        QPoint(anchor.left(), anchor.bottom() + 1),          // below
        QPoint(anchor.left(), anchor.top() - size.height()), // above
    };
    QRect best;
    qint64 bestCovered = -1;
    for (const QPoint& side : sides) {
        const QRect placed = keptOnScreen(QRect(side, size), screen);
        const qint64 covered = coveredArea(placed, anchor);
        if (bestCovered < 0 || covered < bestCovered) {
            best = placed;
            bestCovered = covered;
        }
    }
    return best;
}

} // namespace card
