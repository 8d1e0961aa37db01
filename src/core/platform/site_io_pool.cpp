#include "core/platform/site_io_pool.h"

#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

namespace card {

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds kStuckAfter(SiteIoBudget::stuckAfterMs);
// How often running work is looked at; a hung read is noticed this much after stuckAfterMs.
constexpr std::chrono::milliseconds kLookEvery(100);

int perCore()
{
    return std::clamp(QThread::idealThreadCount(), 1, SiteIoBudget::threads - 1);
}

} // namespace

int SiteIoBudget::historyDays()
{
    return perCore();
}

int SiteIoBudget::reportPictures()
{
    return perCore();
}

// The threads, and a watching thread that counts the pieces of work running too long and widens
// the pool by as many. It sleeps while nothing runs.
class SiteIoPool::Watch {
public:
    Watch()
        : m_watcher([this] { watch(); })
    {
        m_threads.setMaxThreadCount(SiteIoBudget::threads);
        m_watcher.detach();
    }

    QThreadPool& threads() { return m_threads; }

    Clock::time_point enter()
    {
        const Clock::time_point now = Clock::now();
        {
            const std::lock_guard lock(m_mutex);
            m_started.insert(now);
        }
        m_wake.notify_one();
        return now;
    }

    void leave(Clock::time_point started)
    {
        const std::lock_guard lock(m_mutex);
        m_started.erase(m_started.find(started));
    }

private:
    [[noreturn]] void watch()
    {
        int widenedBy = 0;
        for (;;) {
            std::unique_lock lock(m_mutex);
            if (m_started.empty() && widenedBy == 0)
                m_wake.wait(lock, [this] { return !m_started.empty(); });
            else
                m_wake.wait_for(lock, kLookEvery);
            const Clock::time_point hungBefore = Clock::now() - kStuckAfter;
            const auto hung = static_cast<int>(
                std::distance(m_started.begin(), m_started.lower_bound(hungBefore)));
            lock.unlock();
            if (hung != widenedBy) {
                widenedBy = hung;
                m_threads.setMaxThreadCount(SiteIoBudget::threads + hung);
            }
        }
    }

    QThreadPool m_threads;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::multiset<Clock::time_point> m_started; // when each running piece began
    std::thread m_watcher;
};

SiteIoPool::SiteIoPool()
    : m_watch(std::make_unique<Watch>())
{}

SiteIoPool::~SiteIoPool() = default;

void SiteIoPool::start(std::function<void()> work)
{
    m_watch->threads().start([watch = m_watch.get(), work = std::move(work)] {
        const Clock::time_point started = watch->enter();
        work();
        watch->leave(started);
    });
}

bool SiteIoPool::waitForDone(int msecs)
{
    return m_watch->threads().waitForDone(msecs);
}

int SiteIoPool::activeThreadCount() const
{
    return m_watch->threads().activeThreadCount();
}

SiteIoPool& siteIoPool()
{
    // Deliberately never destroyed: its destructor would wait for a blocked worker.
    static SiteIoPool* const pool = new SiteIoPool;
    return *pool;
}

void forEachOnSiteIo(std::size_t count, int threads, const std::function<void(std::size_t)>& work)
{
    // Shared with helpers that may start only after the caller returned: those find every index
    // taken and leave without touching work.
    struct Shared {
        const std::function<void(std::size_t)>* work;
        std::size_t count;
        std::atomic<std::size_t> next{0};
        std::mutex mutex;
        std::condition_variable allDone;
        std::size_t done = 0;
    };
    auto shared = std::make_shared<Shared>();
    shared->work = &work;
    shared->count = count;
    const auto takeShare = [](Shared& state) {
        for (std::size_t i = state.next++; i < state.count; i = state.next++) {
            (*state.work)(i);
            const std::lock_guard lock(state.mutex);
            if (++state.done == state.count)
                state.allDone.notify_all();
        }
    };
    const auto helpers = std::min(static_cast<std::size_t>(std::max(threads, 1)), count);
    for (std::size_t helper = 1; helper < helpers; ++helper)
        siteIoPool().start([shared, takeShare] { takeShare(*shared); });
    takeShare(*shared);
    std::unique_lock lock(shared->mutex);
    shared->allDone.wait(lock, [&] { return shared->done == shared->count; });
}

} // namespace card
