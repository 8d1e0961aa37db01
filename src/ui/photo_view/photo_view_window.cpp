#include "ui/photo_view/photo_view_window.h"

#include "core/photos/zoom.h"
#include "core/platform/file_exists.h"
#include "core/platform/site_io_task.h"
#include "core/records/card_day.h"
#include "ui/common/accessible_names.h"
#include "ui/common/case_add_dialog.h"
#include "ui/common/case_desk.h"
#include "ui/common/export_texts.h"
#include "ui/common/photo_loader.h"
#include "ui/common/photo_texts.h"
#include "ui/common/reference_photo_view.h"
#include "ui/common/results_export.h"
#include "ui/common/swipe_pictures/swipe_compare_window.h"
#include "ui/common/swipe_pictures/thumbnail_list_model.h"
#include "ui/common/swipe_pictures/thumbnail_loader.h"
#include "ui/common/swipe_pictures/zoom_image_view.h"
#include "ui/common/view_parts.h"
#include "ui/common/window_actions.h"
#include "ui/common/window_placing.h"
#include "ui/photo_view/photo_view_texts.h"
#include "ui/reports/evidence_actions.h"
#include "ui/reports/evidence_report.h"
#include "ui/reports/report_texts.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QClipboard>
#include <QCloseEvent>
#include <QDateTime>
#include <QFileInfo>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QToolBar>

#include <algorithm>
#include <utility>

namespace card {

namespace {

// A strip with the keyboard focus is framed like the picture.
const QString kFocusFrameStyle =
    QStringLiteral("QListView:focus { border: 3px solid palette(highlight); }");
constexpr int kSelectionFrameWidth = 3;
// Large enough to judge a face; the picture keeps at least this much room before the strips.
const QSize kOpeningSize(1100, 760);
const QSize kSmallestPicture(320, 240);
const QSize kSmallestUsefulSize(480, 360);
// After a resize the reduced copy is decoded again for the new size once resizing has paused.
constexpr int kRefitDelayMs = 300;
// A reduced copy this much smaller than the fitted picture is decoded again.
constexpr double kRefitShortfall = 1.1;
const QSize kFrameThumbnail(96, 72);
const QSize kCardDayThumbnail(128, 96);
// The first picture is decoded at the view's size, at least this large, then in full.
const QSize kSmallestFirstPicture(640, 480);

// Paints a strip's rows untouched, photos in their own colours, and frames the selected one.
class FramedSelectionDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem plain(option);
        plain.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
        QStyledItemDelegate::paint(painter, plain, index);
        if (!(option.state & QStyle::State_Selected))
            return;
        painter->save();
        painter->setPen(QPen(option.palette.color(QPalette::Highlight), kSelectionFrameWidth));
        const int inset = kSelectionFrameWidth / 2;
        painter->drawRect(option.rect.adjusted(inset, inset, -inset - 1, -inset - 1));
        painter->restore();
    }
};

QListView* makeStrip(QWidget* parent, const QString& name, const QString& accessibleName,
                     QListView::Flow flow, const QSize& iconSize)
{
    QListView* list = newPictureStrip(parent, name, flow, iconSize);
    list->setAccessibleName(accessibleName);
    list->setResizeMode(QListView::Adjust);
    list->setItemDelegate(new FramedSelectionDelegate(list));
    list->setStyleSheet(kFocusFrameStyle);
    return list;
}

// One slider of the tone bar: its control's name, caption, limits, the step of its keys and the
// key that raises it (Shift lowers).
struct ToneSlider {
    const char* name;
    QString caption;
    int minimum;
    int maximum;
    int plain;
    int keyStep;
    Qt::Key key;
};

const ToneSlider kBrightnessSlider{"photo_view_brightness",
                                   photo_view_texts::kBrightness,
                                   -kToneStepLimit,
                                   kToneStepLimit,
                                   0,
                                   5,
                                   Qt::Key_B};
const ToneSlider kContrastSlider{"photo_view_contrast",
                                 photo_view_texts::kContrast,
                                 -kToneStepLimit,
                                 kToneStepLimit,
                                 0,
                                 5,
                                 Qt::Key_C};
const ToneSlider kGammaSlider{"photo_view_gamma",
                              photo_view_texts::kGamma,
                              qRound(kSmallestGamma * 10),
                              qRound(kLargestGamma * 10),
                              10,
                              1,
                              Qt::Key_G};
constexpr int kToneSliderWidth = 72;

QSlider* makeToneSlider(QToolBar* bar, const ToneSlider& row)
{
    auto* slider = new QSlider(Qt::Horizontal, bar);
    slider->setObjectName(QString::fromLatin1(row.name));
    slider->setAccessibleName(row.caption);
    slider->setRange(row.minimum, row.maximum);
    slider->setValue(row.plain);
    slider->setPageStep(row.keyStep * 4);
    slider->setFixedWidth(kToneSliderWidth);
    slider->setFocusPolicy(Qt::NoFocus);
    slider->setToolTip(photo_view_texts::kSliderKeys.arg(
        row.caption, QKeySequence(row.key).toString(QKeySequence::NativeText)));
    bar->addWidget(new QLabel(row.caption, bar));
    bar->addWidget(slider);
    return slider;
}

bool sameCardDay(const Swipe& a, const Swipe& b)
{
    return a.card == b.card && a.day == b.day && a.recordsFolder == b.recordsFolder &&
           a.photoFolder == b.photoFolder;
}

} // namespace

PhotoViewWindow::PhotoViewWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("photo_view"));
    setWindowTitle(photo_view_texts::kTitlePrefix);
    buildParts();
    createActions();
    describeControlsByName(this);
    // Never larger than the screen it opens on.
    resizeWithinScreen(*this, kOpeningSize);
}

void PhotoViewWindow::buildParts()
{
    m_image = new ZoomImageView(this);
    m_image->setObjectName(QStringLiteral("photo_view_image"));
    m_image->setAccessibleName(photo_view_texts::kPictureName);
    m_image->setMinimumSize(kSmallestPicture);
    m_reference = new ReferencePhotoView(this);
    m_reference->setObjectName(QStringLiteral("photo_view_reference"));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("photo_view_status"));
    m_zoom = new QLabel(this);
    m_zoom->setObjectName(QStringLiteral("photo_view_zoom"));
    m_zoom->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    m_frames = makeStrip(this, QStringLiteral("photo_view_frames"), photo_view_texts::kFramesName,
                         QListView::LeftToRight, kFrameThumbnail);
    m_frames->setFixedHeight(kFrameThumbnail.height() + 2 * fontMetrics().height() + 16);
    m_frameModel = new ThumbnailListModel(kFrameThumbnail, this);
    m_frames->setModel(m_frameModel);
    m_frameLoader = new ThumbnailLoader(SiteIoBudget::frameThumbnails, this);

    m_cardDay =
        makeStrip(this, QStringLiteral("photo_view_card_day"), photo_view_texts::kCardDayName,
                  QListView::TopToBottom, kCardDayThumbnail);
    m_cardDay->setFixedWidth(kCardDayThumbnail.width() + 48);
    m_cardDayModel = new ThumbnailListModel(kCardDayThumbnail, this);
    m_cardDay->setModel(m_cardDayModel);
    m_cardDayLoader = new ThumbnailLoader(SiteIoBudget::cardDayThumbnails, this);

    m_playback = new QTimer(this);
    m_playback->setInterval(kPlaybackIntervalMs);
    m_refit = new QTimer(this);
    m_refit->setSingleShot(true);
    m_refit->setInterval(kRefitDelayMs);

    auto* history = new QPushButton(photo_view_texts::kCardHistoryButton, this);
    history->setObjectName(QStringLiteral("photo_view_history"));
    history->setFocusPolicy(Qt::NoFocus);
    connect(history, &QPushButton::clicked, this, [this] { emit cardHistoryRequested(m_swipe); });
    auto* statusRow = new QHBoxLayout;
    statusRow->addWidget(m_status, 1);
    statusRow->addWidget(m_zoom);
    QToolBar* toneBar = buildToneBar();
    // No taller than the button beside it, so the row keeps its height.
    toneBar->setFixedHeight(history->sizeHint().height());
    statusRow->addWidget(toneBar);
    statusRow->addWidget(history);
    auto* pictures = new QHBoxLayout;
    pictures->addWidget(m_image, 1);
    pictures->addWidget(m_reference, 1);
    auto* left = new QVBoxLayout;
    left->addLayout(pictures, 1);
    left->addLayout(statusRow);
    left->addWidget(m_frames);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addWidget(m_cardDay);
    setTabOrder(m_image, m_frames);
    setTabOrder(m_frames, m_cardDay);

    m_image->installEventFilter(this);
    m_cardDay->viewport()->installEventFilter(this);

    connect(m_image, &ZoomImageView::zoomChanged, this, &PhotoViewWindow::showZoom);
    connect(&CaseDesk::instance(), &CaseDesk::changed, this, [this] {
        if (!m_swipe.card.isEmpty())
            showTitle();
    });
    connect(m_frames->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &PhotoViewWindow::frameChosen);
    // Each swipe of the card's day is shown as it is reached, as the main lists do.
    connect(m_cardDay->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &PhotoViewWindow::cardDayChosen);
    connect(m_cardDay, &QListView::clicked, this, &PhotoViewWindow::cardDayChosen);
    connect(m_playback, &QTimer::timeout, this, &PhotoViewWindow::playbackTick);
    connect(m_refit, &QTimer::timeout, this, &PhotoViewWindow::refitReducedPicture);
    connect(m_reference, &ReferencePhotoView::referenceRead, this, [this] {
        tickReferenceSwipe();
        enablePhotoActions();
    });
    connect(m_frameLoader, &ThumbnailLoader::loaded, m_frameModel,
            &ThumbnailListModel::setThumbnail);
    connect(m_cardDayLoader, &ThumbnailLoader::loaded, m_cardDayModel,
            &ThumbnailListModel::setThumbnail);
}

// The sliders and buttons of the tone, in the status row: a bar too narrow for them folds them
// behind its extension button, so they never make the window larger.
QToolBar* PhotoViewWindow::buildToneBar()
{
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("photo_view_tone"));
    bar->setAccessibleName(photo_view_texts::kToneBarName);
    bar->setFocusPolicy(Qt::NoFocus);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_brightness = makeToneSlider(bar, kBrightnessSlider);
    m_contrast = makeToneSlider(bar, kContrastSlider);
    m_gamma = makeToneSlider(bar, kGammaSlider);
    m_autoLevels = bar->addAction(photo_view_texts::kAutoLevels);
    m_autoLevels->setObjectName(QStringLiteral("photo_view_auto_levels"));
    m_autoLevels->setCheckable(true);
    m_autoLevels->setShortcut(Qt::Key_A);
    QAction* reset =
        bar->addAction(photo_view_texts::kToneReset, this, &PhotoViewWindow::resetTone);
    reset->setObjectName(QStringLiteral("photo_view_tone_reset"));
    reset->setShortcut(Qt::Key_Backspace);
    // Keys of the window, also while the bar folds them away.
    addActions({m_autoLevels, reset});
    for (QSlider* slider : {m_brightness, m_contrast, m_gamma})
        connect(slider, &QSlider::valueChanged, this, &PhotoViewWindow::applyTone);
    connect(m_autoLevels, &QAction::toggled, this, &PhotoViewWindow::applyTone);
    return bar;
}

// B, C and G step their slider up, with Shift down, wherever the focus is in the window.
void PhotoViewWindow::addToneKeys()
{
    const std::pair<QSlider*, const ToneSlider*> sliders[] = {{m_brightness, &kBrightnessSlider},
                                                              {m_contrast, &kContrastSlider},
                                                              {m_gamma, &kGammaSlider}};
    for (const auto& [slider, row] : sliders) {
        for (const int sign : {1, -1}) {
            const QKeySequence key =
                sign > 0 ? QKeySequence(row->key) : QKeySequence(Qt::SHIFT | row->key);
            addWindowAction(this, {}, key, Qt::WindowShortcut,
                            [slider = slider, step = sign * row->keyStep] {
                                slider->setValue(slider->value() + step);
                            });
        }
    }
}

void PhotoViewWindow::applyTone()
{
    PictureTone tone;
    tone.brightness = m_brightness->value();
    tone.contrast = m_contrast->value();
    tone.gamma = m_gamma->value() / 10.0;
    tone.autoLevels = m_autoLevels->isChecked();
    m_image->setTone(tone);
    if (m_frameRow >= 0)
        m_status->setText(frameStatus(m_frameRow));
}

void PhotoViewWindow::resetTone()
{
    m_brightness->setValue(kBrightnessSlider.plain);
    m_contrast->setValue(kContrastSlider.plain);
    m_gamma->setValue(kGammaSlider.plain);
    m_autoLevels->setChecked(false);
}

// Every key and menu entry of the window, each an action with its shortcuts. They work in all
// three parts, so the picture zooms and the frames step wherever the focus is.
void PhotoViewWindow::createActions()
{
    const auto add = [this](const QList<QKeySequence>& keys, const std::function<void()>& what,
                            const QString& text = {}) {
        return addWindowAction(this, text, keys, Qt::WindowShortcut, what);
    };
    addEscapeAction(this, [this] { close(); });
    add({Qt::Key_Space}, [this] { togglePlayback(); });
    add({Qt::Key_Left}, [this] { stepOrPan(-1); });
    add({Qt::Key_Right}, [this] { stepOrPan(1); });
    add({Qt::Key_Plus, Qt::Key_Equal}, [this] { m_image->zoomIn(); });
    add({Qt::Key_Minus}, [this] { m_image->zoomOut(); });
    add({Qt::Key_0, Qt::Key_F}, [this] { m_image->fitToView(); });
    add({Qt::Key_1}, [this] { m_image->showActualSize(); });
    add({Qt::Key_H}, [this] { emit cardHistoryRequested(m_swipe); });
    addToneKeys();
    m_copyPhoto = add(
        {QKeySequence::Copy}, [this] { copyShownPhoto(); }, photo_view_texts::kCopyPhotoAction);
    m_savePhoto = add(
        {}, [this] { saveShownPhoto(this, m_shownPath, m_swipe.protectedPlaces()); },
        export_texts::kSavePhotoAction);
    m_pinReference = add(
        {Qt::Key_R}, [this] { pinReference(this, m_swipe, m_shownPath); }, kPinReferenceAction);
    m_removeReference = add(
        {}, [this] { removeReference(this, m_swipe); }, kRemoveReferenceAction);
    // The evidence sheet of the shown swipe, on paper or as PDF.
    QAction* print = add(
        {QKeySequence::Print}, [this] { printReport(this, evidenceJob()); },
        report_texts::kPrintAction);
    QAction* pdf = add(
        {}, [this] { exportReportPdf(this, evidenceJob()); }, report_texts::kExportPdfAction);
    QAction* package = add(
        {},
        [this] {
            PackageJob job;
            job.request.swipes = {{m_swipe, siteCaptionOf(m_swipe.parameterFile), {}}};
            job.proposedFileName = evidencePackageName(m_swipe.card, m_swipe.day);
            job.offerCardDay = true;
            exportEvidencePackage(this, job);
        },
        report_texts::kPackageAction);
    QAction* addToCase = addCaseAction(this, [this] { return std::optional<Swipe>(m_swipe); });
    m_image->addActions({m_copyPhoto, m_savePhoto, m_pinReference, m_removeReference, print, pdf,
                         package, addToCase});
    m_image->setContextMenuPolicy(Qt::ActionsContextMenu);
    enablePhotoActions();
}

ReportJob PhotoViewWindow::evidenceJob() const
{
    const EvidenceRequest request{m_swipe, QDateTime::currentDateTime(), m_image->tone()};
    return {evidencePdfName(m_swipe), m_swipe.protectedPlaces(), [request] {
                return evidenceReport(request);
            }};
}

// Left and Right pan a picture wider than the view while it has the focus; anywhere else, and
// on a picture that fits sideways, they step the frames.
void PhotoViewWindow::stepOrPan(int step)
{
    if (m_image->hasFocus() && m_image->panStep(step, 0))
        return;
    stepFrame(step);
}

void PhotoViewWindow::copyShownPhoto()
{
    if (!m_shownPath.isEmpty())
        QApplication::clipboard()->setImage(m_image->shownImage());
}

void PhotoViewWindow::enablePhotoActions()
{
    m_copyPhoto->setEnabled(!m_shownPath.isEmpty());
    m_savePhoto->setEnabled(!m_shownPath.isEmpty());
    m_pinReference->setEnabled(!m_shownPath.isEmpty());
    m_removeReference->setEnabled(m_reference->reference().has_value());
}

// The swipe's date, time, card and name, and the cases that hold it.
void PhotoViewWindow::showTitle()
{
    QString title = photo_view_texts::kTitlePrefix + m_swipe.day.toString(Qt::ISODate) + u' ' +
                    m_swipe.time + u' ' + m_swipe.card + u' ' + m_swipe.name;
    if (const QString mark = caseMark(m_swipe); !mark.isEmpty())
        title += QStringLiteral(" · ") + mark;
    setWindowTitle(title);
}

void PhotoViewWindow::showSwipe(const Swipe& swipe)
{
    const bool dayKept = m_dayKnown && sameCardDay(swipe, m_swipe);
    m_swipe = swipe;
    showTitle();
    stopPlayback({});
    m_pictureLoad.drop();
    setShownPath({});
    m_firstPictureShown = false;
    m_frameThumbnailsStarted = false;
    m_playbackNote.clear();
    m_photos = {};
    m_frameRow = -1;
    m_frameLoader->cancel();
    m_frameModel->setTexts({});
    m_status->clear();
    m_reference->showCard(swipe.parameterFile, swipe.card);

    const LatestRequest::Ticket lookup = m_swipeLookup.start();
    const QSize box = pictureBox();
    auto work = [swipe, box] {
        SwipePhotos photos = findSwipePhotos(swipe, fileExists);
        FittedPhoto first;
        if (!photos.frames.isEmpty())
            first = loadFittedPhoto(photos.frames.constLast().path, box);
        return std::make_pair(std::move(photos), std::move(first));
    };
    runOnSiteIo(this, std::move(work), [this, lookup](const auto& found) {
        if (m_swipeLookup.finish(lookup))
            showPhotos(found.first, found.second);
    });

    // A swipe missing from the list kept may have been written since: the day is read again.
    const qsizetype keptRow = dayKept ? m_daySwipes.indexOf(swipe) : -1;
    if (keptRow >= 0) {
        m_cardDayModel->setMarkedRow(static_cast<int>(keptRow));
        markShownSwipe();
    } else {
        requestCardDay();
    }
}

bool PhotoViewWindow::isPlaying() const
{
    return m_playback->isActive();
}

void PhotoViewWindow::showPhotos(const SwipePhotos& photos, const FittedPhoto& first)
{
    m_photos = photos;
    QStringList texts;
    for (const FramePhoto& photo : photos.frames)
        texts.append(photo.frame == 0 ? kStillPhotoText : QString::number(photo.frame));
    m_frameModel->setTexts(texts);
    if (photos.frames.isEmpty()) {
        showNoPhoto();
        m_firstPictureShown = true;
        startThumbnails();
        return;
    }
    m_frameRow = static_cast<int>(photos.frames.size()) - 1;
    m_frameModel->setMarkedRow(m_frameRow);
    m_frames->setCurrentIndex(m_frameModel->index(m_frameRow));
    showFirstPicture(m_pictureLoad.current(), photos.frames.constLast().path, first);
}

void PhotoViewWindow::showFrameRow(int row)
{
    if (row < 0 || row >= m_photos.frames.size() || row == m_frameRow)
        return;
    m_frameRow = row;
    m_frameModel->setMarkedRow(row);
    m_frames->setCurrentIndex(m_frameModel->index(row));
    m_status->setText(frameStatus(row));
    requestPicture(m_photos.frames[row].path);
}

void PhotoViewWindow::requestPicture(const QString& path)
{
    const LatestRequest::Ticket picture = m_pictureLoad.start();
    setShownPath({});
    const QSize box = pictureBox();
    runOnSiteIo(
        this, [path, box] { return loadFittedPhoto(path, box); },
        [this, picture, path](const FittedPhoto& fitted) {
            if (m_pictureLoad.finish(picture))
                showFirstPicture(picture, path, fitted);
        });
}

void PhotoViewWindow::showFirstPicture(LatestRequest::Ticket picture, const QString& path,
                                       const FittedPhoto& fitted)
{
    if (fitted.image.isNull()) {
        // The file was found: one that cannot be shown is damaged, not missing.
        showNoPhoto();
        m_status->setText(photo_view_texts::kDamaged.arg(QFileInfo(path).fileName()));
    } else {
        m_image->setPicture(fitted.image, fitted.fullSize);
        setShownPath(path);
        m_status->setText(frameStatus(m_frameRow));
        if (fitted.image.size() != fitted.fullSize) {
            runOnSiteIo(
                this, [path] { return loadPhoto(path, QSize()); },
                [this, picture](const QImage& full) {
                    if (m_pictureLoad.isCurrent(picture))
                        m_image->setFullPicture(full);
                });
        }
    }
    m_firstPictureShown = true;
    startThumbnails();
}

void PhotoViewWindow::showNoPhoto()
{
    m_image->setFixedPicture(noPhotoPicture());
    setShownPath({});
    m_status->setText(kNoPhotoText);
}

void PhotoViewWindow::setShownPath(const QString& path)
{
    m_shownPath = path;
    enablePhotoActions();
}

// Zoomed out, the picture is painted from its reduced copy; one decoded for a smaller view
// would look soft, and the full picture shrunk while painting would shimmer.
void PhotoViewWindow::refitReducedPicture()
{
    const QSize full = m_image->pictureSize();
    const QSizeF view(m_image->size());
    const double fit = fitScale(QSizeF(full), view);
    if (m_shownPath.isEmpty() || fit >= 1.0 ||
        full.width() * fit <= m_image->reducedSize().width() * kRefitShortfall)
        return;
    const LatestRequest::Ticket shown = m_pictureLoad.current();
    const QString path = m_shownPath;
    const QSize box = (view * m_image->devicePixelRatioF()).toSize();
    runOnSiteIo(
        this, [path, box] { return loadFittedPhoto(path, box); },
        [this, shown](const FittedPhoto& picture) {
            if (m_pictureLoad.isCurrent(shown) && picture.fullSize == m_image->pictureSize())
                m_image->setReducedPicture(picture.image);
        });
}

void PhotoViewWindow::stepFrame(int step)
{
    if (m_photos.frames.isEmpty())
        return;
    stopPlayback({});
    const int last = static_cast<int>(m_photos.frames.size()) - 1;
    showFrameRow(std::clamp(m_frameRow + step, 0, last));
}

void PhotoViewWindow::togglePlayback()
{
    if (m_photos.outcome != PhotoOutcome::Sequence || m_photos.frames.size() < 2)
        return;
    if (isPlaying()) {
        stopPlayback({});
        return;
    }
    // As the main window plays: from the highest frame down; a finished playback starts over.
    if (m_frameRow <= 0)
        showFrameRow(static_cast<int>(m_photos.frames.size()) - 1);
    m_playbackNote.clear();
    m_playback->start();
    m_status->setText(frameStatus(m_frameRow));
}

void PhotoViewWindow::playbackTick()
{
    showFrameRow(m_frameRow - 1);
    if (m_frameRow <= 0)
        stopPlayback(kPlaybackEndText);
}

void PhotoViewWindow::stopPlayback(const QString& note)
{
    m_playback->stop();
    m_playbackNote = note;
    if (m_frameRow >= 0)
        m_status->setText(frameStatus(m_frameRow));
}

QString PhotoViewWindow::frameStatus(int row) const
{
    if (row < 0 || row >= m_photos.frames.size())
        return {};
    const int frame = m_photos.frames[row].frame;
    QStringList parts{frame == 0 ? kStillPhotoText : photo_view_texts::kFrame.arg(frame)};
    const QString note = isPlaying() ? kSequenceText : m_playbackNote;
    if (frame != 0 && !note.isEmpty())
        parts << note;
    // The adjustment in force, as the evidence sheet would print it.
    if (!m_image->tone().isPlain())
        parts << toneText(m_image->tone());
    return parts.join(QStringLiteral("　"));
}

void PhotoViewWindow::requestCardDay()
{
    const LatestRequest::Ticket read = m_dayRead.start();
    m_dayKnown = false;
    m_dayThumbnailsStarted = false;
    m_daySwipes.clear();
    m_cardDayLoader->cancel();
    m_cardDayModel->setTexts({});
    const Swipe swipe = m_swipe;
    runOnSiteIo(
        this, [swipe] { return readCardDay(swipe); },
        [this, read](const CardDay& day) {
            if (m_dayRead.finish(read))
                showCardDay(day.swipes, day.shownRow);
        });
}

void PhotoViewWindow::showCardDay(const QList<Swipe>& swipes, qsizetype shownRow)
{
    m_daySwipes = swipes;
    m_dayKnown = true;
    QStringList texts;
    texts.reserve(swipes.size());
    for (const Swipe& swipe : swipes)
        texts.append(swipe.time + u'\n' + swipe.direction);
    m_cardDayModel->setTexts(texts);
    m_cardDayModel->setMarkedRow(static_cast<int>(shownRow));
    markShownSwipe();
    tickReferenceSwipe();
    startThumbnails();
}

void PhotoViewWindow::tickReferenceSwipe()
{
    const std::optional<CardReference>& reference = m_reference->reference();
    const auto ticked =
        reference
            ? std::find_if(m_daySwipes.cbegin(), m_daySwipes.cend(),
                           [&](const Swipe& swipe) { return isReferenceSwipe(*reference, swipe); })
            : m_daySwipes.cend();
    m_cardDayModel->setTickedRow(
        ticked == m_daySwipes.cend() ? -1 : static_cast<int>(ticked - m_daySwipes.cbegin()));
}

void PhotoViewWindow::markShownSwipe()
{
    const int row = m_cardDayModel->markedRow();
    if (row < 0)
        return;
    const QModelIndex index = m_cardDayModel->index(row);
    m_cardDay->setCurrentIndex(index);
    // Never scrolled while a click on a visible row is still being handled.
    m_cardDay->scrollTo(index, QAbstractItemView::EnsureVisible);
}

void PhotoViewWindow::startThumbnails()
{
    if (!m_firstPictureShown)
        return;
    if (!m_frameThumbnailsStarted) {
        m_frameThumbnailsStarted = true;
        QList<ThumbnailLoader::Job> jobs;
        for (const FramePhoto& photo : std::as_const(m_photos.frames)) {
            const QString path = photo.path;
            jobs.append([path] { return loadFittedPhoto(path, kFrameThumbnail).image; });
        }
        m_frameLoader->load(std::move(jobs));
    }
    if (m_dayKnown && !m_dayThumbnailsStarted) {
        m_dayThumbnailsStarted = true;
        QList<ThumbnailLoader::Job> jobs;
        jobs.reserve(m_daySwipes.size());
        for (const Swipe& swipe : std::as_const(m_daySwipes))
            jobs.append([swipe] { return swipeThumbnail(swipe, kCardDayThumbnail); });
        m_cardDayLoader->load(std::move(jobs), std::max(m_cardDayModel->markedRow(), 0));
    }
}

void PhotoViewWindow::cardDayChosen(const QModelIndex& index)
{
    if (!index.isValid() || index.row() >= m_daySwipes.size())
        return;
    const Swipe& chosen = m_daySwipes[index.row()];
    if (index.row() != m_cardDayModel->markedRow() || chosen != m_swipe)
        showSwipe(chosen);
}

void PhotoViewWindow::frameChosen(const QModelIndex& current)
{
    if (!current.isValid() || current.row() == m_frameRow)
        return;
    stopPlayback({});
    showFrameRow(current.row());
}

void PhotoViewWindow::showZoom(double scale)
{
    m_zoom->setText(QStringLiteral("%1%").arg(qRound(scale * 100)));
}

QSize PhotoViewWindow::pictureBox() const
{
    return m_image->size().expandedTo(kSmallestFirstPicture) * m_image->devicePixelRatioF();
}

bool PhotoViewWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_image && event->type() == QEvent::Resize)
        m_refit->start();
    if (watched == m_cardDay->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::LeftButton && press->modifiers() == Qt::ControlModifier)
            return compareWithShown(press->position().toPoint());
    }
    return QWidget::eventFilter(watched, event);
}

// The shown swipe is the first of the two; a Ctrl+click on another adds the second, earlier
// on the left. The click changes neither the swipe shown nor the selection.
bool PhotoViewWindow::compareWithShown(const QPoint& at)
{
    const int row = m_cardDay->indexAt(at).row();
    const int shown = m_cardDayModel->markedRow();
    if (row < 0 || shown < 0 || row == shown || row >= m_daySwipes.size())
        return true;
    if (!m_compare)
        m_compare = new SwipeCompareWindow(this);
    m_compare->compare(m_daySwipes[std::min(row, shown)], m_daySwipes[std::max(row, shown)],
                       m_image->tone());
    m_compare->show();
    m_compare->raise();
    m_compare->activateWindow();
    return true;
}

void PhotoViewWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_image->setFocus();
}

void PhotoViewWindow::closeEvent(QCloseEvent* event)
{
    stopPlayback({});
    QWidget::closeEvent(event);
}

QSize smallestUsefulSize(const PhotoViewWindow& window)
{
    return window.minimumSizeHint().expandedTo(kSmallestUsefulSize);
}

} // namespace card
