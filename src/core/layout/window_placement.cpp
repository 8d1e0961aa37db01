#include "core/layout/window_placement.h"

#include <algorithm>
#include <array>

namespace card {

namespace {

int clampInto(int start, int length, int low, int high)
{
    return std::clamp(start, low, std::max(low, high - length + 1));
}

// The rectangle moved inside area as little as needed.
QRect keptInside(QRect rect, const QRect& area)
{
    rect.moveTo(clampInto(rect.x(), rect.width(), area.left(), area.right()),
                clampInto(rect.y(), rect.height(), area.top(), area.bottom()));
    return rect;
}

qint64 area(QSize size)
{
    return qint64(size.width()) * size.height();
}

qint64 coveredArea(const QRect& rect, const QRect& anchor)
{
    const QRect covered = rect.intersected(anchor);
    return covered.isEmpty() ? 0 : area(covered.size());
}

enum class Side { Right, Left, Below, Above };
constexpr std::array<Side, 4> kSides = {Side::Right, Side::Left, Side::Below, Side::Above};

// The free part of the screen on side of anchor.
QRect room(Side side, const QRect& anchor, const QRect& screen)
{
    switch (side) {
    case Side::Right:
        return QRect(QPoint(anchor.right() + 1, screen.top()), screen.bottomRight());
    case Side::Left:
        return QRect(screen.topLeft(), QPoint(anchor.left() - 1, screen.bottom()));
    case Side::Below:
        return QRect(QPoint(screen.left(), anchor.bottom() + 1), screen.bottomRight());
    case Side::Above:
        return QRect(screen.topLeft(), QPoint(screen.right(), anchor.top() - 1));
    }
    return {};
}

// A window of size touching anchor on side, level with it.
QRect touching(Side side, const QRect& anchor, QSize size)
{
    switch (side) {
    case Side::Right:
        return QRect(QPoint(anchor.right() + 1, anchor.top()), size);
    case Side::Left:
        return QRect(QPoint(anchor.left() - size.width(), anchor.top()), size);
    case Side::Below:
        return QRect(QPoint(anchor.left(), anchor.bottom() + 1), size);
    case Side::Above:
        return QRect(QPoint(anchor.left(), anchor.top() - size.height()), size);
    }
    return {};
}

} // namespace

QRect placeBeside(const QRect& anchor, QSize size, QSize smallest, const QRect& screen)
{
    size = size.boundedTo(screen.size());
    QRect beside;
    for (const Side side : kSides) {
        const QRect free = room(side, anchor, screen).intersected(screen);
        const QSize fitted = size.boundedTo(free.size());
        if (fitted.width() >= smallest.width() && fitted.height() >= smallest.height() &&
            area(fitted) > area(beside.size()))
            beside = keptInside(touching(side, anchor, fitted), free);
    }
    if (!beside.isEmpty())
        return beside;
    QRect least;
    qint64 leastCovered = -1;
    for (const Side side : kSides) {
        const QRect placed = keptInside(touching(side, anchor, size), screen);
        const qint64 covered = coveredArea(placed, anchor);
        if (leastCovered < 0 || covered < leastCovered) {
            least = placed;
            leastCovered = covered;
        }
    }
    return least;
}

} // namespace card
