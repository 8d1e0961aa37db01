// Following today's day file while the card readers append to it.
#pragma once

#include "core/records/swipe.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

#include <chrono>
#include <vector>

namespace card {

// How many records the live view keeps, and how many it shows when it opens.
inline constexpr qsizetype kLiveRowLimit = 1000;
inline constexpr qsizetype kLiveStartRecords = 20;

// A share that has not answered for longer than this counts as lost.
inline constexpr std::chrono::seconds kLiveSilenceLimit{5};

// Whether the share counts as lost at now when it last answered at lastAnswer.
bool liveConnectionLost(const QDateTime& lastAnswer, const QDateTime& now);

// What one look at the followed file found.
struct LivePoll {
    enum class State {
        Following,    // the file was read
        Waiting,      // the records folder answers, the day's file is not there (yet)
        Lost,         // the records folder or the file could not be read
        FolderDenied, // the records folder is there but this user may not enter it
        FileDenied,   // the day's file is there but this user may not read it
    };
    State state = State::Lost;
    QDate day; // the day followed after the look
    // The records that are new since the last look, oldest first, each with its own day (at
    // the change of day the rest of the old day's file comes first). At most kLiveRowLimit.
    QList<Swipe> swipes;
};

// Follows the day file of the clock's day in a records folder. Each poll reads only what was
// added since the last one; at the change of day it finishes the old file and goes on with the
// new day's. A file that shrinks or whose last read bytes have changed (rewritten) is read
// again from its start, and only records not seen before are reported. Blocking: run polls
// one at a time, off the interface thread.
class DayFileFollower {
public:
    // The swipes carry the site's folders and its parameter file. A poll reports at most
    // reportLimit swipes, the newest.
    DayFileFollower(QString recordsFolder, QString photoFolder, QString parameterFile = {},
                    qsizetype reportLimit = kLiveRowLimit);

    LivePoll poll(const QDateTime& now);

    // Goes on after the first end bytes of day's file, read by the caller up to the end of a
    // whole record: the next poll reports only what comes after them.
    void continueAfter(QDate day, const QByteArray& bytes, qsizetype end);

    // Bytes kept for the comparison that finds a rewritten file, and records seen this day.
    qsizetype memoryUse() const;

private:
    struct Batch;
    LivePoll::State readAppended(QList<Swipe>& swipes);
    LivePoll::State readLastRecords(QList<Swipe>& swipes);
    LivePoll::State readAgain(QList<Swipe>& swipes);
    // Why the day's file could not be opened: not there yet, not ours to read, or out of reach.
    LivePoll::State unopenedFileState() const;
    void switchToDay(QDate day);
    Batch parse(const QByteArray& bytes, qsizetype from, qsizetype end) const;
    void acceptEnd(const QByteArray& bytes, qsizetype end, qint64 fileOffsetOfBytes);
    // The rows from first on (at most the last m_reportLimit), or one row, as swipes.
    void report(const Batch& batch, qsizetype first, QList<Swipe>& swipes) const;
    void appendSwipe(const Batch& batch, qsizetype row, QList<Swipe>& swipes) const;
    QString path() const;

    QString m_recordsFolder;
    QString m_photoFolder;
    QString m_parameterFile;
    qsizetype m_reportLimit;
    QDate m_day;
    bool m_started = false;     // the first read of this day's file has been made
    qint64 m_offset = 0;        // where the first record not yet read begins
    QByteArray m_lastBytes;     // the bytes just before m_offset, to notice a rewritten file
    std::vector<size_t> m_seen; // one hash per record of this day read so far
};

} // namespace card
