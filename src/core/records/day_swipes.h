// Every swipe of one day file in a compact form, grouped by card: the fast read that rules over
// many days (exceptions, presence) share. Each day file is read once, whatever looks at it.
#pragma once

#include "core/records/card_history.h"
#include "core/records/record_table.h"

#include <QDate>
#include <QString>

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

struct SwipeDay {
    QDate date;
    DayFileState file = DayFileState::Missing;
    RecordTable table; // every record of the file, in file order
    // The card numbers as the lists show them, each once.
    std::vector<QString> cards;
    // The swipes whose time is a time of day, grouped by card and in time order within a card
    // (file order for equal times). A swipe without a time of day takes part in no rule.
    std::vector<DaySwipe> swipes;

    // The record of row as a listed swipe of this day in the given folders.
    Swipe swipe(quint32 row, const QString& recordsFolder, const QString& photoFolder,
                const QString& parameterFile) const;
};

// The swipes of the bytes of one day file (its whole content, a byte order mark included).
SwipeDay swipeDayOf(QDate date, QByteArray bytes);

// Reads the day file of date in recordsFolder (a blocking read: call it off the interface
// thread). A missing or unreadable file gives a day without swipes that says so.
SwipeDay readSwipeDay(const QString& recordsFolder, QDate date);

} // namespace card
