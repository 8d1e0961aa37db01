// Where a zoomed picture lies in its view: scale limits, zoom steps, zooming about a point,
// panning, and which part of the picture a repaint has to draw.
#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>

namespace card {

inline constexpr double kMaxZoom = 8.0;
// One step of +, - or the wheel; three steps come close to doubling.
inline constexpr double kZoomStep = 1.25;
// From this scale up each picture pixel is drawn as a sharp block, below it smoothly.
inline constexpr double kSharpPixelsFrom = 2.0;

struct ZoomPlacement {
    double scale = 1.0;
    QPointF origin; // where the picture's top-left corner lies in the view
};

// The scale that shows the whole picture in the view (a small picture is enlarged); 1 for an
// empty picture or view.
double fitScale(QSizeF picture, QSizeF view);

// The smallest scale zooming out reaches: the fit scale, or 1 when that is larger.
double minZoom(QSizeF picture, QSizeF view);

// scale within minZoom and kMaxZoom.
double clampZoom(double scale, QSizeF picture, QSizeF view);

// One zoom step in (steps > 0) or out (steps < 0), within the limits.
double zoomStepped(double scale, int steps, QSizeF picture, QSizeF view);

// In each direction a picture narrower than the view is centred; a wider one is kept covering
// the view, so panning never shows empty space beside it.
QPointF clampOrigin(QPointF origin, double scale, QSizeF picture, QSizeF view);

// The whole picture, centred.
ZoomPlacement fittedPlacement(QSizeF picture, QSizeF view);

// The picture at scale with its centre in the middle of the view.
ZoomPlacement centredPlacement(double scale, QSizeF picture, QSizeF view);

// Zooms to newScale (limited) keeping the picture point under anchor (a view point) under it,
// as far as clamping allows.
ZoomPlacement zoomedAbout(const ZoomPlacement& current, double newScale, QPointF anchor,
                          QSizeF picture, QSizeF view);

// Moves the picture by delta view pixels, clamped.
ZoomPlacement panned(const ZoomPlacement& current, QPointF delta, QSizeF picture, QSizeF view);

// The part of the picture a repaint draws: target in view coordinates, source in picture
// coordinates. Empty when nothing of the picture is visible.
struct VisiblePart {
    QRectF target;
    QRectF source;
};
VisiblePart visiblePart(const ZoomPlacement& placement, QSizeF picture, QSizeF view);

// True when the picture at scale is larger than the view in some direction, so it can pan.
bool canPan(double scale, QSizeF picture, QSizeF view);

} // namespace card
