#include "ui/photo_view/thumbnail_loader.h"

#include "core/platform/future_watch.h"
#include "core/platform/site_io_task.h"

#include <algorithm>

namespace card {

ThumbnailLoader::ThumbnailLoader(int parallel, QObject* parent)
    : QObject(parent)
    , m_parallel(parallel)
{}

void ThumbnailLoader::load(QList<Job> jobs, int first)
{
    ++m_request;
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
    m_running = 0;
    startMore();
}

void ThumbnailLoader::startMore()
{
    while (m_running < m_parallel && m_next < m_jobs.size()) {
        const int index = m_order[m_next++];
        ++m_running;
        const quint64 request = m_request;
        whenReady(this, runOnSiteIo(m_jobs[index]), [this, index, request](const QImage& image) {
            if (request != m_request)
                return;
            --m_running;
            emit loaded(index, image);
            startMore();
        });
    }
}

} // namespace card
