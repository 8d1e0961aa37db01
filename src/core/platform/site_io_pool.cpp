#include "core/platform/site_io_pool.h"

#include <QThread>
#include <QThreadPool>

#include <algorithm>
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

} // namespace

int SiteIoBudget::historyDays()
{
    return std::clamp(QThread::idealThreadCount(), 1, threads - 1);
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

} // namespace card
