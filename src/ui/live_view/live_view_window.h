// The live view: today's swipes as the card readers write them, newest on top, with the
// photo of the newest (or the selected) swipe beside its card's reference photo.
//
// The main window creates it once, with itself as parent (a top-level window closed with the
// main window), and calls follow with the site's folders. While it is shown it looks at today's
// day file about once a second on the site I/O pool; a look that does not come back never
// blocks the window, and the status line tells how fresh the rows are.
//
// Keys: Tab moves between the card filter, the direction choice, the pause button, the rows
// and the photo; Space pauses and resumes; Enter (or a double-click) on a row shows it in the
// inspection window; Esc closes the window.
#pragma once

#include "core/platform/latest_request.h"
#include "core/records/live_follower.h"
#include "core/records/swipe.h"

#include <QDateTime>
#include <QWidget>

#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;

namespace card {

class LiveRowModel;
class ReferencePhotoView;

class LiveViewWindow : public QWidget {
    Q_OBJECT
public:
    // The clock gives today and the times in the status line; tests give their own.
    using Clock = std::function<QDateTime()>;

    explicit LiveViewWindow(QWidget* parent, Clock clock = &QDateTime::currentDateTime);
    ~LiveViewWindow() override;

    // Follows today's file in recordsFolder from now on, starting with its last records.
    void follow(const QString& recordsFolder, const QString& photoFolder,
                const QString& parameterFile = {});

signals:
    // The operator asked to inspect a swipe (Enter or a double-click on its row).
    void inspectRequested(const Swipe& swipe);
    // 在主視窗顯示 on a row, from the rows' menu.
    void mainWindowRequested(const Swipe& swipe);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildParts();
    void connectParts();
    void poll();
    void applyPoll(const LivePoll& poll);
    void showStatus();
    void applyFilter();
    void setPaused(bool paused);
    void rowsArriving();
    void rowsArrived();
    void showPhotoOf(const Swipe& swipe);
    void lookUpPhoto(LatestRequest::Ticket ticket);
    void showLoading();
    void showNoPhoto();
    void forgetPhoto();
    void showCaption();
    void showCurrentPhoto();
    const Swipe* currentSwipe() const;
    void inspectRow(int row);

    Clock m_clock;
    LiveRowModel* m_model;
    QLineEdit* m_card;
    QComboBox* m_direction;
    QPushButton* m_pause;
    QTableView* m_rows;
    QLabel* m_photo;
    QLabel* m_photoCaption;
    ReferencePhotoView* m_reference;
    QLabel* m_status;
    QTimer* m_pollTimer;
    QTimer* m_fadeTimer;

    std::shared_ptr<DayFileFollower> m_follower;
    // One look at a time; a look at an earlier follower's file is dropped.
    LatestRequest m_look;
    QDateTime m_followSince;
    QDateTime m_lastAnswer; // the last look that the share answered
    LivePoll::State m_fileState = LivePoll::State::Following;
    QString m_recordsFolder;
    QString m_dayFileName;
    bool m_followNewest = true; // the current row stays on the newest as rows arrive

    Swipe m_photoSwipe;
    QDateTime m_photoSince;
    LatestRequest m_photoLookup;
};

} // namespace card
