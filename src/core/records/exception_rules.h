// The swipes that do not fit: repeated directions, an out without an in, an in without an out,
// bursts, night swipes and swipes at an hour the card never uses, over a range of days.
#pragma once

#include "core/records/card_history.h"
#include "core/records/day_swipes.h"
#include "core/records/swipe.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace card {

enum class ExceptionRule {
    RepeatedIn,   // 重複進
    RepeatedOut,  // 重複出
    OutWithoutIn, // 無進先出
    InWithoutOut, // 有進無出
    Burst,        // 連續刷卡
    Night,        // 夜間刷卡
    RareHour,     // 罕見時段
};
inline constexpr int kExceptionRuleCount = 7;
inline constexpr std::array<ExceptionRule, kExceptionRuleCount> kExceptionRules = {
    ExceptionRule::RepeatedIn,   ExceptionRule::RepeatedOut, ExceptionRule::OutWithoutIn,
    ExceptionRule::InWithoutOut, ExceptionRule::Burst,       ExceptionRule::Night,
    ExceptionRule::RareHour};

// The rule's name as the lists and reports show it: 重複進, 無進先出 ...
QString exceptionRuleName(ExceptionRule rule);

struct ExceptionSettings {
    int burstCount = 3;       // a card's swipe that makes this many (at least 2) ...
    int burstSeconds = 60;    // ... within this many seconds, counting itself
    int nightFromHour = 22;   // night runs from the start of this hour ...
    int nightUntilHour = 6;   // ... to the start of this one
    int rareDays = 30;        // the days before a swipe's day in which its hour is looked for ...
    int rareMinimumDays = 10; // ... when the card has swipes on at least this many of them

    bool operator==(const ExceptionSettings&) const = default;
};

struct ExceptionQuery {
    QDate end;        // the last day of the range
    int dayCount = 1; // 1, 7, 30, 90 or 365 in the window; any positive count from the command line
    QString recordsFolder; // exactly as the parameter file gives it
    QString photoFolder;
    QString parameterFile;
    ExceptionSettings settings;
    // An in is an in without an out only once the 24 hours after it are over by now.
    QDateTime now = QDateTime::currentDateTime();

    QDate first() const { return end.addDays(1 - dayCount); }
};

inline constexpr qint64 kDaySeconds = 24 * 60 * 60;

struct ExceptionHit {
    ExceptionRule rule = ExceptionRule::Night;
    Swipe swipe;
    int second = 0; // the swipe's time of day, in seconds since midnight
    // The swipe it was judged against: the card's previous 進 or 出 for the direction rules,
    // the first swipe of a burst.
    std::optional<Swipe> reference;
    // A day file the rule needed that was missing or unreadable: the hit is what the days
    // present show, and the missing day could undo it.
    QDate missingDay;
    DayFileState missingState = DayFileState::Missing;

    // Seconds on one running clock across days, for ordering hits by their time.
    qint64 moment() const { return swipe.day.toJulianDay() * kDaySeconds + second; }

    bool operator==(const ExceptionHit&) const = default;
};

// The days whose files the rules read, oldest first: the days before the range that the rules
// look back on, the range, and the day after it; none after today.
QList<QDate> exceptionReadDates(const ExceptionQuery& query);

// The rules over a card-sorted stream of swipes, fed one day at a time, oldest first: each
// day's swipes (grouped by card, time order within a card) are checked against what each card
// did before, kept per card (its last in or out, its last few swipes, the hours of its recent
// days), so every day is looked at once whatever the number of rules. Hits are kept for the
// swipes of the range only.
class ExceptionFinder {
public:
    explicit ExceptionFinder(ExceptionQuery query);

    // day: the next day of exceptionReadDates. Appends the hits decided by it.
    void addDay(std::shared_ptr<const SwipeDay> day, QList<ExceptionHit>& hits);
    // After the last day: appends the hits that waited for a day never read.
    void finish(QList<ExceptionHit>& hits);

private:
    struct SwipeAt {
        qint64 when = 0; // seconds on one running clock across days
        qint64 day = 0;  // the day's Julian day number
        quint32 row = 0;
    };
    using HourDays = std::array<qint32, 24>; // a day for each hour of the day
    // A 進 or 出 of a card, with its record's bytes once its day's table is let go: few of
    // them are ever shown, so they are decoded only then.
    struct Turn {
        SwipeAt at;
        SwipeDirection direction = SwipeDirection::Other;
        QByteArray keptRecord;
    };
    struct CardState {
        std::optional<Turn> lastTurn;
        std::optional<Turn> turnBefore; // the turn before the last
        std::vector<SwipeAt> recent;    // the last burstCount - 1 swipes, oldest first
        // For the rare hours: the last day the card swiped in each hour of the day ...
        HourDays lastDayOfHour = noDays();
        // ... and its last rareMinimumDays days with swipes, the oldest overwritten first.
        std::vector<qint32> swipeDays;
        std::size_t nextSwipeDay = 0; // where the next day is written once swipeDays is full

        static HourDays noDays();
    };

    void checkCard(const SwipeDay& day, std::size_t from, std::size_t to, CardState& card,
                   QList<ExceptionHit>& hits);
    // The hours in which card swiped on the rare-hour rule's days before julian, and whether
    // it swiped on enough of those days for the rule to judge.
    quint32 knownHours(const CardState& card, qint64 julian) const;
    bool hasHabits(const CardState& card, qint64 julian) const;
    void rememberDay(CardState& card, qint64 julian) const;
    void checkTurn(const SwipeAt& at, SwipeDirection direction, CardState& card,
                   QList<ExceptionHit>& hits);
    void closeOpenIns(const std::vector<qsizetype>& openIns, qint64 nextDay, DayFileState nextFile,
                      QList<ExceptionHit>& hits);
    void keepTurnRecords(const SwipeDay& leaving, const std::vector<qsizetype>& cards);
    void hit(ExceptionRule rule, const SwipeAt& at, QList<ExceptionHit>& hits,
             std::optional<Swipe> reference = {}, qint64 missingDay = 0);
    Swipe swipeAt(const SwipeAt& place);
    std::optional<Swipe> turnSwipe(const std::optional<Turn>& turn);
    // The swipe at place as made for a recent hit, if it was; remembers one made now.
    const Swipe* madeSwipe(const SwipeAt& place) const;
    Swipe remember(const SwipeAt& place, Swipe swipe);
    bool inRange(qint64 day) const { return day >= m_firstDay && day <= m_lastDay; }
    qint64 latestMissingDay(qint64 from, qint64 to) const;
    const SwipeDay* dayOf(qint64 julianDay) const;
    qsizetype cardIndex(const SwipeDay& day, qint32 card);
    // The finder's index of each of day's cards, new cards numbered in the day's order.
    std::vector<qsizetype> cardIndices(const SwipeDay& day);
    void prefetchState(qsizetype index) const;
    void prefetchHistory(qsizetype index) const; // once its state is loaded

    ExceptionQuery m_query;
    qint64 m_firstDay;
    qint64 m_lastDay;
    qint64 m_now;
    std::shared_ptr<const SwipeDay> m_today;
    std::shared_ptr<const SwipeDay> m_yesterday;
    QHash<qint64, DayFileState> m_fileOfDay;
    std::vector<CardState> m_cards;
    CardNumberIndex m_cardOfNumber;            // by packedCardNumber
    QHash<QString, qsizetype> m_cardIndex;     // the other cards, by their text
    std::vector<qsizetype> m_openIns;          // cards whose last turn is an in on the day before
    std::vector<qsizetype> m_cardsOfToday;     // the cards that swiped on the newest day
    std::vector<qsizetype> m_cardsOfYesterday; // and on the day before
    // The swipes made for the last few hits: a swipe often carries several rules (night and a
    // rare hour), or is the one the next hit is judged against (a burst of ins), and making
    // one reads its record and decodes four texts.
    struct MadeSwipe {
        qint64 day = 0; // no swipe lies on Julian day 0
        quint32 row = 0;
        Swipe swipe;
    };
    static constexpr std::size_t kMadeSwipes = 4;
    std::array<MadeSwipe, kMadeSwipes> m_madeSwipes;
    std::size_t m_nextMadeSwipe = 0;
    // The hits' texts: a card's hits show its number and name again and again.
    SharedTexts m_texts;
};

// Called with each day's hits as they are decided, the days read and the days to read; false
// stops the search.
using ExceptionProgress =
    std::function<bool(const QList<ExceptionHit>& hits, int daysRead, int dayCount)>;

// Reads every day of exceptionReadDates once, several at once on the site's threads, and runs
// the rules over them in date order, handing each day's hits to progress (a blocking call:
// make it off the interface thread).
void findExceptions(const ExceptionQuery& query, const ExceptionProgress& progress);

// Blocking: every hit of query, newest first, for the command line and reports.
QList<ExceptionHit> readExceptions(const ExceptionQuery& query);

// Newest first: by day, then time, then the rules' order.
void sortNewestFirst(QList<ExceptionHit>& hits);

} // namespace card
