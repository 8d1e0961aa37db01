#include "ui/common/swipe_pictures/zoom_image_view.h"

#include "ui/common/picture_enhance.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <cstdlib>

namespace card {

namespace {

const QColor kBackground(0x30, 0x30, 0x30);
// One arrow press pans a tenth of the view.
constexpr double kArrowPanShare = 0.1;
constexpr int kWheelStep = 120;
constexpr int kFocusFrameWidth = 3;

} // namespace

ZoomImageView::ZoomImageView(QWidget* parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(160, 120);
}

QSize ZoomImageView::sizeHint() const
{
    return {800, 600};
}

void ZoomImageView::setPicture(const QImage& image, const QSize& fullSize)
{
    const bool samePicture = fullSize == m_fullSize && m_zoomable;
    m_zoomable = true;
    m_fullSize = fullSize;
    if (image.size() == fullSize) {
        m_full = image;
        m_reduced = QImage();
    } else {
        m_full = QImage();
        m_reduced = image;
    }
    if (samePicture && !m_fitted)
        place(m_placement, false);
    else
        fitToView();
    update();
}

void ZoomImageView::setFixedPicture(const QImage& image)
{
    m_zoomable = false;
    m_fullSize = image.size();
    m_full = image;
    m_reduced = QImage();
    fitToView();
}

void ZoomImageView::setFullPicture(const QImage& image)
{
    if (image.size() != m_fullSize)
        return;
    m_full = image;
    update();
}

void ZoomImageView::setReducedPicture(const QImage& image)
{
    if (image.isNull() || m_fullSize.isEmpty() || image.width() >= m_fullSize.width())
        return;
    const int expectedHeight = image.width() * m_fullSize.height() / m_fullSize.width();
    if (std::abs(expectedHeight - image.height()) > 1)
        return;
    m_reduced = image;
    update();
}

void ZoomImageView::place(const ZoomPlacement& placement, bool fitted)
{
    const QSizeF picture(m_fullSize);
    if (!m_zoomable) {
        m_placement = centredPlacement(1.0, picture, viewSize());
        m_fitted = true;
        updateCursor();
        update();
        emit zoomChanged(1.0);
        return;
    }
    const double scale = clampZoom(placement.scale, picture, viewSize());
    const ZoomPlacement next{scale, clampOrigin(placement.origin, scale, picture, viewSize())};
    const bool scaleChanged = !qFuzzyCompare(next.scale, m_placement.scale);
    m_placement = fitted ? fittedPlacement(picture, viewSize()) : next;
    m_fitted = fitted;
    updateCursor();
    update();
    if (scaleChanged || fitted)
        emit zoomChanged(m_placement.scale);
    emit placed(m_placement, m_fitted);
}

void ZoomImageView::follow(const ZoomPlacement& placement, bool fitted)
{
    place(placement, fitted);
}

void ZoomImageView::setTone(const PictureTone& tone)
{
    if (tone == m_tone)
        return;
    m_tone = tone;
    update();
}

void ZoomImageView::fitToView()
{
    place({}, true);
}

void ZoomImageView::showActualSize()
{
    place(zoomedAbout(m_placement, 1.0, viewCentre(), QSizeF(m_fullSize), viewSize()), false);
}

void ZoomImageView::zoomIn()
{
    zoomBy(1, viewCentre());
}

void ZoomImageView::zoomOut()
{
    zoomBy(-1, viewCentre());
}

void ZoomImageView::zoomBy(int steps, QPointF anchor)
{
    if (m_fullSize.isEmpty())
        return;
    const QSizeF picture(m_fullSize);
    const double scale = zoomStepped(m_placement.scale, steps, picture, viewSize());
    // Zooming out as far as the fit scale returns to fit, so the picture follows resizing
    // again; a small picture, enlarged to fit, zooms out below it down to 100 %.
    const double fit = fitScale(picture, viewSize());
    const bool fitted = steps < 0 && fit <= 1.0 && scale <= fit;
    place(zoomedAbout(m_placement, scale, anchor, picture, viewSize()), fitted);
}

void ZoomImageView::panBy(QPointF delta)
{
    if (m_fitted)
        return;
    place(panned(m_placement, delta, QSizeF(m_fullSize), viewSize()), false);
}

bool ZoomImageView::panStep(int dx, int dy)
{
    if (!canPan(m_placement.scale, QSizeF(m_fullSize), viewSize()))
        return false;
    panBy({-dx * width() * kArrowPanShare, -dy * height() * kArrowPanShare});
    return true;
}

void ZoomImageView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), kBackground);
    const VisiblePart part = visiblePart(m_placement, QSizeF(m_fullSize), viewSize());
    if (m_fullSize.isEmpty() || part.target.isEmpty()) {
        paintFocusFrame(painter);
        return;
    }
    // Zoomed out as far as the reduced copy reaches, it gives the better picture for less work;
    // otherwise only the visible part of the full picture is drawn.
    const bool reducedSuffices =
        !m_reduced.isNull() &&
        m_placement.scale <= double(m_reduced.width()) / m_fullSize.width() * 1.001;
    const QImage& source = m_full.isNull() || reducedSuffices ? m_reduced : m_full;
    const double factorX = double(source.width()) / m_fullSize.width();
    const double factorY = double(source.height()) / m_fullSize.height();
    const QRectF sourceRect(part.source.x() * factorX, part.source.y() * factorY,
                            part.source.width() * factorX, part.source.height() * factorY);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, m_placement.scale < kSharpPixelsFrom);
    if (m_tone.isPlain())
        painter.drawImage(part.target, source, sourceRect);
    else
        paintToned(painter, part.target, source, sourceRect);
    paintFocusFrame(painter);
}

// Only the visible part is adjusted, first shrunk to the pixels it covers on the screen and
// kept, so a tone change costs about one screenful whatever the picture's size.
void ZoomImageView::paintToned(QPainter& painter, const QRectF& target, const QImage& source,
                               const QRectF& sourceRect)
{
    const QRect crop = sourceRect.toAlignedRect() & source.rect();
    const double scaleX = target.width() / sourceRect.width();
    const double scaleY = target.height() / sourceRect.height();
    const QSize covered =
        (QSizeF(crop.width() * scaleX, crop.height() * scaleY) * devicePixelRatioF()).toSize();
    const ShownPart wanted{source.cacheKey(), crop, covered};
    if (!(wanted == m_shownPart) || m_shown.isNull()) {
        m_shown = source.copy(crop);
        if (covered.width() < crop.width() && !covered.isEmpty())
            m_shown = m_shown.scaled(covered, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_shownPart = wanted;
        m_toned = QImage();
    }
    if (m_toned.isNull() || !(m_shownTone == m_tone)) {
        m_toned = tonedImage(m_shown, m_tone, levels());
        m_shownTone = m_tone;
    }
    const QRectF drawn(target.x() + (crop.x() - sourceRect.x()) * scaleX,
                       target.y() + (crop.y() - sourceRect.y()) * scaleY, crop.width() * scaleX,
                       crop.height() * scaleY);
    painter.save();
    painter.setClipRect(target);
    painter.drawImage(drawn, m_toned);
    painter.restore();
}

// The levels of the whole picture, so the visible part is stretched as the whole would be;
// taken from the reduced copy when there is one.
const ToneLevels& ZoomImageView::levels()
{
    const QImage& whole = m_reduced.isNull() ? m_full : m_reduced;
    if (m_tone.autoLevels && whole.cacheKey() != m_levelsSource) {
        m_levels = pictureLevels(whole);
        m_levelsSource = whole.cacheKey();
    }
    return m_levels;
}

void ZoomImageView::paintFocusFrame(QPainter& painter) const
{
    if (!hasFocus())
        return;
    painter.setPen(QPen(palette().color(QPalette::Highlight), kFocusFrameWidth));
    const int inset = kFocusFrameWidth / 2;
    painter.drawRect(rect().adjusted(inset, inset, -inset - 1, -inset - 1));
}

void ZoomImageView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    place(m_placement, m_fitted);
}

void ZoomImageView::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        event->ignore();
        return;
    }
    m_wheelRemainder += event->angleDelta().y();
    const int steps = m_wheelRemainder / kWheelStep;
    m_wheelRemainder -= steps * kWheelStep;
    if (steps != 0)
        zoomBy(steps, event->position());
    event->accept();
}

void ZoomImageView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton &&
        canPan(m_placement.scale, QSizeF(m_fullSize), viewSize())) {
        m_dragging = true;
        m_dragFrom = event->position();
        updateCursor();
    }
    QWidget::mousePressEvent(event);
}

void ZoomImageView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging)
        return;
    const QPointF delta = event->position() - m_dragFrom;
    m_dragFrom = event->position();
    panBy(delta);
}

void ZoomImageView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragging = false;
        updateCursor();
    }
}

void ZoomImageView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_fullSize.isEmpty())
        return;
    if (m_fitted)
        place(zoomedAbout(m_placement, 1.0, event->position(), QSizeF(m_fullSize), viewSize()),
              false);
    else
        fitToView();
}

void ZoomImageView::keyPressEvent(QKeyEvent* event)
{
    const bool up = event->key() == Qt::Key_Up;
    if ((up || event->key() == Qt::Key_Down) && panStep(0, up ? -1 : 1))
        return;
    QWidget::keyPressEvent(event);
}

void ZoomImageView::updateCursor()
{
    if (m_dragging)
        setCursor(Qt::ClosedHandCursor);
    else if (canPan(m_placement.scale, QSizeF(m_fullSize), viewSize()))
        setCursor(Qt::OpenHandCursor);
    else
        unsetCursor();
}

} // namespace card
