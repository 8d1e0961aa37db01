// The presence window (在場人員): who is inside now, kept up to date as the card readers write,
// or at any chosen moment, each person with the photo of the swipe they came in with, a tick
// for "confirmed safe", and the roll call on paper.
//
// The main window creates it once, with itself as parent, and calls follow with the site. With
// 現在 ticked it looks at today's file about once a second on the site I/O pool; otherwise it
// reads the chosen moment's day and the day before once per chosen moment.
//
// Keys: Ctrl+C copies the selected rows, Ctrl+P prints the roll call, Enter (or a double-click)
// shows a row's entry swipe in the inspection window, Space ticks the row, Esc closes.
#pragma once

#include "core/platform/latest_request.h"
#include "core/records/presence.h"
#include "ui/presence/presence_model.h"

#include <QDateTime>
#include <QSet>
#include <QWidget>

#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QTableView;
class QTimer;

namespace card {

class ThumbnailLoader;
struct RollCall;

class PresenceWindow : public QWidget {
    Q_OBJECT
public:
    // The clock gives the present moment; tests give their own.
    using Clock = std::function<QDateTime()>;

    explicit PresenceWindow(QWidget* parent, Clock clock = &QDateTime::currentDateTime);
    ~PresenceWindow() override;

    void follow(const PresenceSite& site);

    // Shows the presence at moment instead of now.
    void showMoment(const QDateTime& moment);

signals:
    void inspectRequested(const Swipe& swipe);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildParts();
    void createActions();
    void connectParts();
    bool followsNow() const;
    void setFollowsNow(bool now);
    void refresh();
    void lookNow();
    void readMoment();
    void showPeople(QList<PresentPerson> people, const QDateTime& moment);
    void loadPictures();
    void tick(const PresentPerson& person, bool ticked);
    void toggleSafeTick(int row);
    void restoreTicks();
    void copySelected();
    void exportList();
    RollCall rollCall() const;
    QList<PresentPerson> selectedPeople() const;

    Clock m_clock;
    PresenceSite m_site;
    PresenceModel* m_model;
    QCheckBox* m_now;
    QDateTimeEdit* m_time;
    QComboBox* m_order;
    QLabel* m_count;
    QTableView* m_rows;
    QLabel* m_status;
    QTimer* m_pollTimer;
    QTimer* m_momentTimer; // a moment being typed is read once the typing pauses
    ThumbnailLoader* m_pictures;
    QList<PresentPerson> m_picturesLoading; // the people of the running load, in job order
    QSet<QString> m_loadingKeys;            // their entries whose picture has not come back

    std::shared_ptr<PresenceFollower> m_follower;
    LatestRequest m_look; // one look at a time; a look of an earlier site or mode is dropped
    QDateTime m_lastAnswer;
};

} // namespace card
