// Two swipes of a card side by side, their photos at the same scale with zoom and pan locked
// together, to see whether the same person swiped.
//
// The inspection window and the card history each own one and call compare with the two
// swipes Ctrl+clicked in their swipes. Keys: + or =, -, 0 or F and 1 zoom both pictures;
// dragging or the arrows pan both; Esc closes the window.
#pragma once

#include "core/photos/picture_tone.h"
#include "core/photos/zoom.h"
#include "core/platform/latest_request.h"
#include "core/records/swipe.h"

#include <QWidget>

#include <array>

class QLabel;

namespace card {

class ZoomImageView;

class SwipeCompareWindow : public QWidget {
    Q_OBJECT
public:
    explicit SwipeCompareWindow(QWidget* parent);

    // Shows the photos of first and second (the still photo or the highest frame), drawn with
    // tone as the inspection window draws.
    void compare(const Swipe& first, const Swipe& second, const PictureTone& tone);

private:
    struct Side {
        ZoomImageView* image = nullptr;
        QLabel* caption = nullptr;
        LatestRequest load;
    };

    void buildSide(Side& side, const QString& name);
    void createActions();
    void showSide(Side& side, const Swipe& swipe);
    void lock(const ZoomImageView* from, const ZoomPlacement& placement, bool fitted);

    std::array<Side, 2> m_sides;
    bool m_locking = false;
};

} // namespace card
