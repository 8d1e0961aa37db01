// Threads for work on a site's files, which may lie on a share that stops answering.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>

namespace card {

// The one place that decides how many threads site work gets.
struct SiteIoBudget {
    // Pieces of site work that run at once. A piece busy for longer than stuckAfterMs counts as
    // hung and no longer takes a place: a thread is added beside it, so reads that never return
    // do not hold back the dialog's listing, existence tests or a query of a readable day.
    static constexpr int threads = 4;
    static constexpr int stuckAfterMs = 500;
    // The inspection window's small pictures, loaded a few at a time, leave a thread for its
    // large picture.
    static constexpr int cardDayThumbnails = 2;
    static constexpr int frameThumbnails = 1;
    static_assert(cardDayThumbnails + frameThumbnails < threads);
    // Day files of a card history read at once: one per core, leaving a thread for the rest.
    static int historyDays();
    // Photos of a report decoded at once, the report's own thread included: as many.
    static int reportPictures();
    // The card history's small pictures of a day, loaded beside its day reads.
    static constexpr int historyThumbnails = 2;
    static_assert(historyThumbnails < threads);
    // The small pictures of the rows of a case, of who is inside and of the exceptions.
    static constexpr int rowThumbnails = 2;
    static_assert(rowThumbnails < threads);
};

class SiteIoPool {
public:
    SiteIoPool();
    ~SiteIoPool();
    SiteIoPool(const SiteIoPool&) = delete;
    SiteIoPool& operator=(const SiteIoPool&) = delete;

    void start(std::function<void()> work);
    // Waits until no work runs or queues; false when msecs passed first (-1: no limit).
    bool waitForDone(int msecs = -1);
    // Threads running work now, hung ones included.
    int activeThreadCount() const;

private:
    class Watch;
    std::unique_ptr<Watch> m_watch;
};

// A pool of its own, never waited for: at exit a read blocked on a dead share is abandoned with
// its thread instead of holding the program open (the global pool is waited for by
// QCoreApplication's destructor).
SiteIoPool& siteIoPool();

// Runs work(i) for every i below count on the calling thread and on up to threads - 1 more of
// siteIoPool(), and returns once every one is done. The caller takes its share, so the work
// moves on even when the pool is full.
void forEachOnSiteIo(std::size_t count, int threads, const std::function<void(std::size_t)>& work);

} // namespace card
