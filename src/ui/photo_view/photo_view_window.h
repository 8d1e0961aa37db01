// A second window that shows one swipe's photo large, the frames of its sequence and the
// card's other swipes of the day, to check who swiped.
//
// The main window creates it once, with itself as parent (it becomes a top-level window owned
// by the main window and closed with it), and calls showSwipe for the record to inspect and
// again for each record it shows while the window is open; show() and raise() bring it up.
// It keeps nothing between runs and writes nothing but a card's reference photo, into the case
// store.
//
// Keys, each an action of the window that works in every part: Tab moves between the picture,
// the frames and the card's day; + or =, -, 0 or F, 1 zoom the picture; Left and Right pan a
// picture wider than its view while it has the focus and otherwise step between frames; Space
// plays the sequence from the highest frame down to frame 1, one frame a second, and pauses;
// B, C and G raise brightness, contrast and gamma, with Shift they lower them, A stretches the
// levels and Backspace puts the picture back as it is (only what is drawn changes, and an
// evidence sheet made meanwhile shows both pictures with the settings); Ctrl+C copies the
// shown photo; R pins it as the card's reference photo, shown beside the picture (a tick marks
// its swipe in the card's day); H (or the card history button) asks for the card's history;
// Esc closes the window. Up and Down (or a click) in the card's day show each swipe as it is
// reached; Ctrl+click on another swipe there compares the two side by side.
#pragma once

#include "core/platform/latest_request.h"
#include "core/records/swipe.h"
#include "ui/common/swipe_pictures/swipe_picture_work.h"
#include "ui/reports/report_actions.h"

#include <QWidget>

class QAction;
class QLabel;
class QListView;
class QSlider;
class QToolBar;
class QModelIndex;
class QTimer;

namespace card {

class ReferencePhotoView;
class SwipeCompareWindow;
class ThumbnailListModel;
class ThumbnailLoader;
class ZoomImageView;

class PhotoViewWindow : public QWidget {
    Q_OBJECT
public:
    explicit PhotoViewWindow(QWidget* parent);

    // Shows swipe: its photo found and decoded off the interface thread, its frames, and every
    // swipe of its card on its day read from the day file. The card's day is read again only
    // when the card, the day or a folder differs from the swipe shown before, or when the
    // swipe is not among the swipes read before.
    void showSwipe(const Swipe& swipe);

signals:
    // The card history of the swipe shown is asked for.
    void cardHistoryRequested(const Swipe& swipe);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildParts();
    QToolBar* buildToneBar();
    void addToneKeys();
    void applyTone();
    void resetTone();
    void createActions();
    ReportJob evidenceJob() const;
    void stepOrPan(int step);
    void copyShownPhoto();
    void enablePhotoActions();
    void showTitle();
    void setShownPath(const QString& path);
    bool isPlaying() const;
    void showPhotos(const SwipePhotos& photos, const FittedPhoto& first);
    void showFrameRow(int row);
    void requestPicture(const QString& path);
    void showFirstPicture(LatestRequest::Ticket picture, const QString& path,
                          const FittedPhoto& fitted);
    void showNoPhoto();
    void refitReducedPicture();
    void stepFrame(int step);
    void togglePlayback();
    void playbackTick();
    void stopPlayback(const QString& note);
    void requestCardDay();
    void showCardDay(const QList<Swipe>& swipes, qsizetype shownRow);
    void startThumbnails();
    void markShownSwipe();
    void tickReferenceSwipe();
    void cardDayChosen(const QModelIndex& index);
    bool compareWithShown(const QPoint& at);
    void frameChosen(const QModelIndex& current);
    void showZoom(double scale);
    QString frameStatus(int row) const;
    QSize pictureBox() const;

    ZoomImageView* m_image;
    ReferencePhotoView* m_reference;
    QLabel* m_status;
    QLabel* m_zoom;
    QListView* m_frames;
    QListView* m_cardDay;
    ThumbnailListModel* m_frameModel;
    ThumbnailListModel* m_cardDayModel;
    ThumbnailLoader* m_frameLoader;
    ThumbnailLoader* m_cardDayLoader;
    SwipeCompareWindow* m_compare = nullptr; // made when first asked for
    QTimer* m_playback;
    QTimer* m_refit; // the view's size has settled after a resize
    QAction* m_copyPhoto = nullptr;
    QAction* m_savePhoto = nullptr;
    QSlider* m_brightness = nullptr;
    QSlider* m_contrast = nullptr;
    QSlider* m_gamma = nullptr; // in tenths
    QAction* m_autoLevels = nullptr;
    QAction* m_pinReference = nullptr;
    QAction* m_removeReference = nullptr;

    QString m_shownPath; // the photo file in the large picture, empty for the no-photo picture

    Swipe m_swipe;
    SwipePhotos m_photos;
    int m_frameRow = -1;
    QList<Swipe> m_daySwipes;
    bool m_dayKnown = false; // m_daySwipes belong to m_swipe's card, day and folders
    bool m_dayThumbnailsStarted = false;
    bool m_frameThumbnailsStarted = false;
    QString m_playbackNote; // after the frame number: 播放結束 once a playback has ended
    bool m_firstPictureShown = false; // thumbnails wait for it, so they do not slow it down
    LatestRequest m_swipeLookup;
    LatestRequest m_pictureLoad;
    LatestRequest m_dayRead;
};

// The smallest size the window is opened at beside the main window: a face can still be judged
// and its parts all fit.
QSize smallestUsefulSize(const PhotoViewWindow& window);

} // namespace card
