#include "ui/common/swipe_pictures/thumbnail_loader.h"

#include "core/platform/site_io_task.h"

#include <algorithm>

namespace card {

ThumbnailLoader::ThumbnailLoader(int parallel, QObject* parent)
    : QObject(parent)
    , m_parallel(parallel)
{}

void ThumbnailLoader::load(QList<Job> jobs, int first)
{
    m_load.start();
    m_jobs = std::move(jobs);
    const int count = static_cast<int>(m_jobs.size());
    first = std::clamp(first, 0, std::max(count - 1, 0));
    m_order.clear();
    m_order.reserve(count);
    for (int distance = 0; m_order.size() < count; ++distance) {
        if (first + distance < count)
            m_order.append(first + distance);
        if (distance > 0 && first - distance >= 0)
            m_order.append(first - distance);
    }
    m_next = 0;
    startMore();
}

void ThumbnailLoader::startMore()
{
    while (m_running < m_parallel && m_next < m_jobs.size()) {
        const int index = m_order[m_next++];
        ++m_running;
        const LatestRequest::Ticket load = m_load.current();
        runOnSiteIo(this, m_jobs[index], [this, index, load](const QImage& image) {
            --m_running;
            if (m_load.isCurrent(load))
                emit loaded(index, image);
            startMore();
        });
    }
}

} // namespace card
