#include "ui/common/swipe_pictures/swipe_compare_window.h"

#include "core/platform/file_exists.h"
#include "core/platform/site_io_task.h"
#include "ui/common/accessible_names.h"
#include "ui/common/photo_loader.h"
#include "ui/common/photo_texts.h"
#include "ui/common/swipe_pictures/swipe_picture_work.h"
#include "ui/common/swipe_pictures/zoom_image_view.h"
#include "ui/common/window_actions.h"

#include <QBoxLayout>
#include <QLabel>

namespace card {

namespace {

const QSize kOpeningSize(1200, 560);
// The first picture is decoded at about the view's size, then in full.
const QSize kFirstPictureBox(800, 600);

struct ComparedPicture {
    FittedPhoto fitted;
    QString path; // empty without a photo that can be shown
};

ComparedPicture loadComparedPicture(const Swipe& swipe)
{
    const SwipePhotos photos = findSwipePhotos(swipe, fileExists);
    if (photos.frames.isEmpty())
        return {};
    const QString path = photos.frames.constLast().path;
    return {loadFittedPhoto(path, kFirstPictureBox), path};
}

} // namespace

SwipeCompareWindow::SwipeCompareWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("photo_view_compare"));
    setWindowTitle(kCompareTitle);
    auto* pictures = new QHBoxLayout(this);
    buildSide(m_sides[0], QStringLiteral("photo_view_compare_first"));
    buildSide(m_sides[1], QStringLiteral("photo_view_compare_second"));
    for (Side& side : m_sides) {
        auto* column = new QVBoxLayout;
        column->addWidget(side.image, 1);
        column->addWidget(side.caption);
        pictures->addLayout(column, 1);
    }
    createActions();
    describeControlsByName(this);
    resize(kOpeningSize);
}

void SwipeCompareWindow::buildSide(Side& side, const QString& name)
{
    side.image = new ZoomImageView(this);
    side.image->setObjectName(name);
    side.caption = new QLabel(this);
    side.caption->setObjectName(name + QStringLiteral("_caption"));
    side.caption->setAlignment(Qt::AlignCenter);
    connect(side.image, &ZoomImageView::placed, this,
            [this, image = side.image](const ZoomPlacement& placement, bool fitted) {
                lock(image, placement, fitted);
            });
}

// Each key works on both pictures: the one it reaches moves the other through the lock.
void SwipeCompareWindow::createActions()
{
    const auto add = [this](const QList<QKeySequence>& keys, const std::function<void()>& what) {
        addWindowAction(this, {}, keys, Qt::WindowShortcut, what);
    };
    ZoomImageView* first = m_sides[0].image;
    addEscapeAction(this, [this] { close(); });
    add({Qt::Key_Plus, Qt::Key_Equal}, [first] { first->zoomIn(); });
    add({Qt::Key_Minus}, [first] { first->zoomOut(); });
    add({Qt::Key_0, Qt::Key_F}, [first] { first->fitToView(); });
    add({Qt::Key_1}, [first] { first->showActualSize(); });
    add({Qt::Key_Left}, [first] { first->panStep(-1, 0); });
    add({Qt::Key_Right}, [first] { first->panStep(1, 0); });
}

void SwipeCompareWindow::compare(const Swipe& first, const Swipe& second, const PictureTone& tone)
{
    setWindowTitle(kCompareTitle + first.card + u' ' + first.name);
    for (Side& side : m_sides)
        side.image->setTone(tone);
    showSide(m_sides[0], first);
    showSide(m_sides[1], second);
}

void SwipeCompareWindow::showSide(Side& side, const Swipe& swipe)
{
    side.caption->setText(swipe.day.toString(Qt::ISODate) + u' ' + swipe.time + u' ' +
                          swipe.direction);
    const LatestRequest::Ticket ticket = side.load.start();
    runOnSiteIo(
        this, [swipe] { return loadComparedPicture(swipe); },
        [this, &side, ticket](const ComparedPicture& picture) {
            if (!side.load.finish(ticket))
                return;
            if (picture.fitted.image.isNull()) {
                side.image->setFixedPicture(noPhotoPicture());
                return;
            }
            side.image->setPicture(picture.fitted.image, picture.fitted.fullSize);
            if (picture.fitted.image.size() == picture.fitted.fullSize)
                return;
            runOnSiteIo(
                this, [path = picture.path] { return loadPhoto(path, QSize()); },
                [&side, ticket](const QImage& full) {
                    if (side.load.isCurrent(ticket))
                        side.image->setFullPicture(full);
                });
        });
}

// Whatever zooms or pans one picture does the same to the other.
void SwipeCompareWindow::lock(const ZoomImageView* from, const ZoomPlacement& placement,
                              bool fitted)
{
    if (m_locking)
        return;
    m_locking = true;
    for (Side& side : m_sides) {
        if (side.image != from)
            side.image->follow(placement, fitted);
    }
    m_locking = false;
}

} // namespace card
