// Who is inside at a moment: a card whose last swipe of the 24 hours up to and including the
// moment is 進.
#pragma once

#include "core/platform/file_bytes.h"
#include "core/platform/safe_write.h"
#include "core/records/live_follower.h"
#include "core/records/record_table.h"
#include "core/records/swipe.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <string>
#include <string_view>
#include <unordered_map>

class QIODevice;

namespace card {

// How far back from a moment a swipe still tells whether its card is inside.
inline constexpr qint64 kPresenceWindowSeconds = 24 * 60 * 60;

// The site whose records and photos the presence reads.
struct PresenceSite {
    QString recordsFolder; // exactly as the parameter file gives it
    QString photoFolder;
    QString parameterFile;
};

struct PresentPerson {
    Swipe entry;       // the card's last swipe, 進
    QDateTime entered; // its day and time of day
};

enum class PresenceOrder { NewestEntryFirst, ByName };

void sortPresent(QList<PresentPerson>& people, PresenceOrder order);

// How long someone has been inside at moment, as hh:mm.
QString presenceSpan(const QDateTime& entered, const QDateTime& moment);

// The list of the people inside as a CSV file: this header, then each person's card, name and
// entry time (yyyy-MM-dd hh:mm:ss), by the list export's rules.
inline const QString kPresenceCsvHeader = QStringLiteral("卡號,姓名,進入時間");
// A person's values in those columns, which copying a row also gives.
QStringList presenceValues(const PresentPerson& person);
bool writePresenceCsv(const QList<PresentPerson>& people, QIODevice& device);
SafeWriteResult exportPresenceCsv(const QList<PresentPerson>& people, const QString& target,
                                  const QStringList& protectedPlaces);

// The last counted swipe of every card seen. Swipes are added in the order they were written
// (the day before first, each file in file order); of two with the same time the one added
// later is the later swipe. A swipe whose time is no time of day or whose direction is neither
// exactly 進 nor exactly 出 does not count.
class PresenceLedger {
public:
    // Swipes after until are not counted; without one (the present moment, followed as it
    // goes on) every swipe counts, a card reader's clock running a little ahead included.
    explicit PresenceLedger(QDateTime until = {});

    // The records of the day before's and the day's file contents (a byte order mark
    // included), each gone through once on a core of its own. Only the entries that can still
    // be inside at from or later get their texts: presentAt takes moments from from on.
    // Returns where the day's last record begins.
    qsizetype addDays(QByteArrayView dayBefore, QByteArrayView day, QDate date,
                      const PresenceSite& site, const QDateTime& from);
    // One swipe written since, however late.
    void add(const Swipe& swipe);

    // The cards inside at moment, in no particular order.
    QList<PresentPerson> presentAt(const QDateTime& moment) const;

private:
    struct Last {
        qint64 stamp = 0; // seconds on the wall clock, from the start of the Julian calendar
        bool in = false;
        Swipe entry; // kept for a 進 only
    };
    struct KeyHash {
        using is_transparent = void;
        size_t operator()(std::string_view key) const { return std::hash<std::string_view>{}(key); }
    };
    template <typename Value>
    using CardMap = std::unordered_map<std::string, Value, KeyHash, std::equal_to<>>;
    // A day's last counted swipe of a card: where its record begins in the day's bytes.
    struct DayLast {
        qint64 stamp = 0;
        bool in = false;
        qsizetype start = 0;
    };
    struct DayLasts {
        CardMap<DayLast> cards;
        qsizetype lastRecordStart = 0;
    };

    // One pass over a day's bytes: a card's swipe only replaces its earlier ones.
    DayLasts lastSwipesOf(QByteArrayView content, QDate day) const;
    // Takes a day's last swipes, the texts of the 進 after insideFrom read from bytes.
    void takeDay(const DayLasts& lasts, QByteArrayView bytes, QDate day, const PresenceSite& site,
                 qint64 insideFrom);
    // Whether the swipe at stamp is the card's latest so far; it then becomes its last.
    Last* claim(std::string_view card, qint64 stamp, bool in);

    qint64 m_until;
    CardMap<Last> m_cards;
};

// The presence at moment from the day file of moment's day and of the day before (a blocking
// read: call it off the interface thread). dayFile tells how the day's own file was read.
PresenceLedger readPresence(const PresenceSite& site, const QDateTime& moment,
                            FileReadStatus* dayFile = nullptr);

// What one look at the present moment found.
struct PresenceLook {
    LivePoll::State state = LivePoll::State::Lost;
    QList<PresentPerson> present;
};

// The presence of the present moment, kept up to date: the first look reads the day before and
// today's file up to its last whole record, every later one only what the card readers have
// written since (and today's file read again when it was rewritten). Blocking: run looks one at
// a time, off the interface thread.
class PresenceFollower {
public:
    explicit PresenceFollower(PresenceSite site);

    PresenceLook look(const QDateTime& now);

private:
    LivePoll::State readStart(const QDateTime& now);

    PresenceSite m_site;
    PresenceLedger m_ledger;
    DayFileFollower m_follower;
    bool m_started = false;
};

} // namespace card
