#include "core/photos/zoom.h"

#include <algorithm>

namespace card {

namespace {

bool isEmpty(QSizeF size)
{
    return !(size.width() > 0 && size.height() > 0);
}

double clampAxis(double origin, double scaled, double view)
{
    if (scaled <= view)
        return (view - scaled) / 2;
    return std::clamp(origin, view - scaled, 0.0);
}

} // namespace

double fitScale(QSizeF picture, QSizeF view)
{
    if (isEmpty(picture) || isEmpty(view))
        return 1.0;
    return std::min(view.width() / picture.width(), view.height() / picture.height());
}

double minZoom(QSizeF picture, QSizeF view)
{
    return std::min(fitScale(picture, view), 1.0);
}

double clampZoom(double scale, QSizeF picture, QSizeF view)
{
    return std::clamp(scale, minZoom(picture, view), kMaxZoom);
}

double zoomStepped(double scale, int steps, QSizeF picture, QSizeF view)
{
    double stepped = scale;
    for (int k = 0; k < steps; ++k)
        stepped *= kZoomStep;
    for (int k = 0; k > steps; --k)
        stepped /= kZoomStep;
    return clampZoom(stepped, picture, view);
}

QPointF clampOrigin(QPointF origin, double scale, QSizeF picture, QSizeF view)
{
    return {clampAxis(origin.x(), picture.width() * scale, view.width()),
            clampAxis(origin.y(), picture.height() * scale, view.height())};
}

ZoomPlacement fittedPlacement(QSizeF picture, QSizeF view)
{
    const double scale = fitScale(picture, view);
    return {scale, clampOrigin({}, scale, picture, view)};
}

ZoomPlacement centredPlacement(double scale, QSizeF picture, QSizeF view)
{
    const QPointF origin(view.width() / 2 - picture.width() * scale / 2,
                         view.height() / 2 - picture.height() * scale / 2);
    return {scale, clampOrigin(origin, scale, picture, view)};
}

ZoomPlacement zoomedAbout(const ZoomPlacement& current, double newScale, QPointF anchor,
                          QSizeF picture, QSizeF view)
{
    const double scale = clampZoom(newScale, picture, view);
    const QPointF picturePoint = (anchor - current.origin) / current.scale;
    return {scale, clampOrigin(anchor - picturePoint * scale, scale, picture, view)};
}

ZoomPlacement panned(const ZoomPlacement& current, QPointF delta, QSizeF picture, QSizeF view)
{
    return {current.scale, clampOrigin(current.origin + delta, current.scale, picture, view)};
}

VisiblePart visiblePart(const ZoomPlacement& placement, QSizeF picture, QSizeF view)
{
    const QRectF shown(placement.origin, picture * placement.scale);
    const QRectF target = shown.intersected(QRectF(QPointF(), view));
    if (target.isEmpty() || placement.scale <= 0)
        return {};
    const QRectF source((target.topLeft() - placement.origin) / placement.scale,
                        target.size() / placement.scale);
    return {target, source};
}

bool canPan(double scale, QSizeF picture, QSizeF view)
{
    return picture.width() * scale > view.width() + 0.5 ||
           picture.height() * scale > view.height() + 0.5;
}

} // namespace card
