// A picture shown large: fitted to the view, or zoomed and panned.
//
// Mouse: Ctrl+wheel zooms about the pointer, dragging pans a zoomed picture, a double-click
// switches between fit and 100 % about the pointer. Keys: Up and Down pan a picture taller than
// the view; the window's actions zoom it and pan it sideways (panStep). A clear frame shows
// when it has the keyboard focus.
#pragma once

#include "core/photos/picture_tone.h"
#include "core/photos/zoom.h"

#include <QImage>
#include <QPoint>
#include <QWidget>

class QPainter;

namespace card {

class ZoomImageView : public QWidget {
    Q_OBJECT
public:
    explicit ZoomImageView(QWidget* parent);

    // Shows a picture of fullSize pixels, drawn from image, which may be a reduced copy until
    // setFullPicture brings the full one. A picture of the same size as the one shown keeps
    // the zoom and position (stepping through frames); any other starts fitted.
    void setPicture(const QImage& image, const QSize& fullSize);
    // The full-resolution image of the picture shown. The reduced copy is kept to paint the
    // picture zoomed out, so no repaint has to shrink the whole picture.
    void setFullPicture(const QImage& image);

    // A picture shown at its own size, centred, never zoomed: the no-photo picture.
    void setFixedPicture(const QImage& image);

    // A copy of the picture shown at another reduced size (after the view has grown); ignored
    // when it is the full size or belongs to another picture.
    void setReducedPicture(const QImage& image);

    QSize pictureSize() const { return m_fullSize; }
    QSize reducedSize() const { return m_reduced.size(); }
    bool hasFullPicture() const { return !m_full.isNull(); }
    const ZoomPlacement& placement() const { return m_placement; }
    bool isFitted() const { return m_fitted; }
    // The best image of the picture shown: the full one once decoded, else the reduced copy.
    QImage shownImage() const { return m_full.isNull() ? m_reduced : m_full; }

    // Draws the picture with tone applied to what is drawn, never to the picture kept.
    void setTone(const PictureTone& tone);
    const PictureTone& tone() const { return m_tone; }

    // Takes another view's zoom and position (a comparison keeps two views in step).
    void follow(const ZoomPlacement& placement, bool fitted);

    void zoomIn();
    void zoomOut();
    void fitToView();
    void showActualSize();
    // Zooms by steps (in when positive) about a view point.
    void zoomBy(int steps, QPointF anchor);
    void panBy(QPointF delta);
    // Pans a tenth of the view against the direction (dx, dy) when the picture overflows the
    // view; false when it cannot be panned.
    bool panStep(int dx, int dy);

    QSize sizeHint() const override;

signals:
    void zoomChanged(double scale);
    // The zoom or the position changed.
    void placed(const ZoomPlacement& placement, bool fitted);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QSizeF viewSize() const { return QSizeF(size()); }
    QPointF viewCentre() const { return QPointF(width() / 2.0, height() / 2.0); }
    void place(const ZoomPlacement& placement, bool fitted);
    void updateCursor();
    void paintFocusFrame(QPainter& painter) const;
    void paintToned(QPainter& painter, const QRectF& target, const QImage& source,
                    const QRectF& sourceRect);
    const ToneLevels& levels();

    // Which part of which image the shrunk visible copy holds: a repaint of the same part, or
    // a tone change over it, reuses it.
    struct ShownPart {
        qint64 source = 0;
        QRect crop;
        QSize size;
        bool operator==(const ShownPart&) const = default;
    };

    QImage m_full;    // null until the full picture is decoded
    QImage m_reduced; // a copy at about the fitted size, null when the full one came first
    QSize m_fullSize;
    ZoomPlacement m_placement;
    bool m_fitted = true;
    bool m_zoomable = true; // false for a fixed picture
    bool m_dragging = false;
    QPointF m_dragFrom;
    int m_wheelRemainder = 0;

    PictureTone m_tone;
    ShownPart m_shownPart;
    QImage m_shown;            // the visible part at the pixels it covers
    PictureTone m_shownTone;   // the tone m_toned was made with
    QImage m_toned;            // m_shown with m_shownTone applied
    qint64 m_levelsSource = 0; // the image m_levels were taken from
    ToneLevels m_levels;
};

} // namespace card
