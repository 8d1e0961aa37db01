// Every swipe of one day file in a compact form, grouped by card: the fast read that rules over
// many days (exceptions, presence) share. Each day file is read once, whatever looks at it.
#pragma once

#include "core/platform/large_buffer.h"
#include "core/records/card_history.h"
#include "core/records/record_table.h"

#include <QDate>
#include <QString>

#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace card {

enum class SwipeDirection : quint8 {
    Other, // blank, or any text but exactly 進 or 出
    In,
    Out,
};

struct DaySwipe {
    qint32 card = 0;   // index into SwipeDay::cards
    qint32 second = 0; // since midnight
    SwipeDirection direction = SwipeDirection::Other;
    quint32 row = 0; // the record's row in SwipeDay::table, for its texts
};

// A card number of 1 to 18 ASCII digits packed with its count of digits (so leading zeros
// stay) into one number, which tells cards apart without comparing texts; 0 for any other text.
quint64 packedCardNumber(QByteArrayView text);

// Packed card numbers and their indices in one flat table: a look-up reads a slot or a few in a
// row, with no node to follow, and adding allocates only when the table doubles.
class CardNumberIndex {
public:
    // Room for about expected numbers before the table first grows.
    explicit CardNumberIndex(std::size_t expected = 512);

    // The index of number (not 0), which is next when number is new; and whether it was.
    std::pair<qint32, bool> add(quint64 number, qint32 next);
    // Starts loading number's slot: a look-up some records later finds it in the cache. Big
    // tables miss the cache on nearly every look-up, and looking ahead lets the misses overlap.
    void prefetch(quint64 number) const { __builtin_prefetch(&m_slots[slotOf(number)]); }
    // The hash whose top bits give a number's slot.
    static quint64 hashOf(quint64 number) { return number * 0x9E3779B97F4A7C15ULL; }

private:
    struct Slot {
        quint64 number = 0; // 0: free
        qint32 index = 0;
    };
    void grow();

    std::size_t slotOf(quint64 number) const
    {
        return static_cast<std::size_t>(hashOf(number) >> (64 - m_slotBits));
    }

    LargeVector<Slot> m_slots;
    int m_slotBits = 0;
    std::size_t m_used = 0;
};

struct SwipeDay {
    QDate date;
    DayFileState file = DayFileState::Missing;
    RecordTable table; // every record of the file, in file order
    // Each card of the day once, by its packedCardNumber: those with one in the order of a hash
    // of their numbers (CardNumberIndex::hashOf), the same every day; then those without one
    // (0 here), in the order of their first swipes.
    std::vector<quint64> cardNumbers;
    // The cards without a packed number as the lists show them, in their order above.
    std::vector<QString> otherCards;
    // The swipes whose time is a time of day, grouped by card and in time order within a card
    // (file order for equal times). A swipe without a time of day takes part in no rule.
    LargeVector<DaySwipe> swipes;

    // The text of card, one without a packed number.
    const QString& otherCard(qint32 card) const
    {
        return otherCards[static_cast<std::size_t>(card) + otherCards.size() - cardNumbers.size()];
    }
    // The bytes of row's record, as RecordTable::recordBytes gives them.
    QByteArrayView recordBytes(quint32 row) const;
    // The record of row as a listed swipe of this day in the given folders (swipeOfRow).
    Swipe swipe(quint32 row, const QString& recordsFolder, const QString& photoFolder,
                const QString& parameterFile, SharedTexts* shared = nullptr) const;
};

// The swipes of the bytes of one day file (its whole content, a byte order mark included).
SwipeDay swipeDayOf(QDate date, QByteArray bytes);

// Reads the day file of date in recordsFolder (a blocking read: call it off the interface
// thread). A missing or unreadable file gives a day without swipes that says so.
SwipeDay readSwipeDay(const QString& recordsFolder, QDate date);

// The room a day read sorts its swipes in. Whoever reads day after day keeps one, so that the
// reads fault in no new memory for it.
struct SwipeSortRoom {
    struct NumberedSwipe {
        quint64 number = 0; // the card's packedCardNumber
        DaySwipe swipe;
    };
    LargeVector<NumberedSwipe> numbered;
    LargeVector<NumberedSwipe> spare;
};

// The same into day, whose memory from an earlier day is used again, sorting in room: reading
// day after day into a few days' memory does not fault in new memory for each.
void readSwipeDay(const QString& recordsFolder, QDate date, SwipeDay& day, SwipeSortRoom& room);

// Reads days into the memory of the days let go before: for reading many days one after the
// other, a few at a time, on any threads. Made with std::make_shared (its days keep it).
class SwipeDayPool : public std::enable_shared_from_this<SwipeDayPool> {
public:
    // keep: how many let-go days are kept for reading into; the others are freed.
    explicit SwipeDayPool(std::size_t keep)
        : m_keep(keep)
    {}

    // readSwipeDay into a let-go day's memory where there is one.
    std::shared_ptr<const SwipeDay> read(const QString& recordsFolder, QDate date);

private:
    template <typename Kept> std::unique_ptr<Kept> take(std::vector<std::unique_ptr<Kept>>& free);
    void letGo(SwipeDay* day);
    void letGo(std::unique_ptr<SwipeSortRoom> room);

    std::size_t m_keep;
    std::mutex m_mutex;
    std::vector<std::unique_ptr<SwipeDay>> m_free;
    std::vector<std::unique_ptr<SwipeSortRoom>> m_rooms; // one for each read at once, at most
};

} // namespace card
