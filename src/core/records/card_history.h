// A card's swipes over a range of days, found by its number or by part of its holder's name.
#pragma once

#include "core/records/history_match.h"
#include "core/records/swipe.h"

#include <QDate>
#include <QList>
#include <QSet>
#include <QString>

#include <array>

namespace card {

inline constexpr int kDefaultHistoryDays = 30;
// Past this many distinct cards a search shows no more: a name that common fills memory with
// rows that tell the operator nothing, and is better narrowed.
inline constexpr int kHistoryCardLimit = 200;

struct HistoryQuery {
    HistoryField field = HistoryField::Card;
    QString text;          // a card number (compared as the query compares) or part of a name
    QDate end;             // the last day of the range
    int dayCount = 30;     // 7, 30, 90 or 365 in the window; 1 to 3660 from the command line
    QString recordsFolder; // exactly as the parameter file gives it
    QString photoFolder;
    QString parameterFile; // the site's loaded parameter file, carried into each swipe
};

// The days of the query's range, newest first.
QList<QDate> historyDates(const HistoryQuery& query);

enum class DayFileState { Read, Missing, Unreadable };

// One day, or one day and one card when a name search matches several cards. A day with no
// file, an unreadable file or no match has one entry with an empty card and no swipes.
struct HistoryDay {
    QDate date;
    DayFileState file = DayFileState::Missing;
    QString card;
    QString name;
    QList<Swipe> swipes; // file order, values as the result lists show them
};

struct DaySummary {
    QString firstIn; // time of the first 進, empty without one
    QString lastOut; // time of the last 出, empty without one
    int swipeCount = 0;
    QString span; // time between the earliest and the latest swipe, e.g. "9:05:12"; empty
                  // with fewer than two swipes that tell their time of day
};
DaySummary summarizeDay(const HistoryDay& day);

// The label of a day's row in an hour map: its date ("05-03"), followed by its card and name
// when the rows hold several cards.
QString hourMapLabel(const HistoryDay& day, bool severalCards);

// The cards a search shows: the first kHistoryCardLimit distinct cards met, in the order their
// days arrive. Entries of any later card are dropped, and the limit counts as passed.
class HistoryCards {
public:
    // The entries whose card is shown; a day without a card is always kept.
    QList<HistoryDay> admit(QList<HistoryDay> entries);
    bool limitPassed() const { return m_limitPassed; }
    bool several() const { return m_cards.size() > 1; }

private:
    QSet<QString> m_cards;
    bool m_limitPassed = false;
};

// The day's swipes per hour of the day, in and out apart; a swipe whose time cannot be read
// as a time of day, or whose direction is neither, is not counted.
struct HourCounts {
    std::array<int, 24> in{};
    std::array<int, 24> out{};
};
HourCounts hourCounts(const HistoryDay& day);

// The index of the day's swipe whose time of day lies nearest the middle of hour; -1 when no
// swipe tells its time of day.
qsizetype nearestSwipe(const HistoryDay& day, int hour);

// Reads the day file of date in the query's records folder (a blocking read: call it off the
// interface thread) and gives the day's entries, one per matching card in order of its first
// swipe: at most kHistoryCardLimit + 1 of them, enough to tell that the search matches too many.
QList<HistoryDay> readHistoryDay(const HistoryQuery& query, QDate date);

// Blocking: reads every day file of the range (newest first), for the command line and for
// reports; the window uses its own asynchronous driver over readHistoryDay.
QList<HistoryDay> readCardHistory(const HistoryQuery& query);

} // namespace card
