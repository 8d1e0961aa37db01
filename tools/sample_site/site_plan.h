// What happens at the sample site on one day: who swiped when, and which photos were taken.
#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QTime>

namespace card {

struct CardHolder {
    QString cardNumber; // eight digits, as printed on the card
    QString name;
};

// The site's card holders; the same on every day.
const QList<CardHolder>& cardHolders();

enum class Direction { In, Out };

enum class PhotoKind {
    None,      // the camera took nothing
    Still,     // one still photo, "-C"
    Sequence,  // frames 1 to 5
    Incomplete // some frames of a sequence are missing
};

struct PlannedSwipe {
    QTime time;
    int holder = 0; // index into cardHolders()
    Direction direction = Direction::In;
    // Some readers write the card number as a plain number instead of a quoted text.
    bool cardQuoted = true;
    // Some readers write the hour without its leading zero.
    bool shortHour = false;
    PhotoKind photoKind = PhotoKind::None;
    QList<int> frames; // frame numbers of a sequence, in the order they are saved
};

struct DayPlan {
    QDate date;
    QList<PlannedSwipe> swipes; // in ascending time, no two at the same second
};

// The last week is busy; the days before it, back to a month, are quiet days on which the
// busiest card's history is still worth looking at.
inline constexpr int kDaysPerSite = 7;
inline constexpr int kHistoryDays = 30;
inline constexpr int kFramesPerSequence = 5;

// Whether the site wrote a day file daysBack days before its last day: a closed weekend has none.
bool siteOpen(int daysBack);

// The plan of date, which lies daysBack days before the site's last day. The same daysBack
// always gives the same swipes, whatever the date.
DayPlan planDay(const QDate& date, int daysBack);

} // namespace card
