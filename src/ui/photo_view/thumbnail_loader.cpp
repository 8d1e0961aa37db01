#include "ui/photo_view/thumbnail_loader.h"

#include "core/platform/site_io_task.h"
#include "ui/photo_view/future_watch.h"

namespace card {

ThumbnailLoader::ThumbnailLoader(int parallel, QObject* parent)
    : QObject(parent)
    , m_parallel(parallel)
{}

void ThumbnailLoader::load(QList<Job> jobs)
{
    ++m_request;
    m_jobs = std::move(jobs);
    m_next = 0;
    m_running = 0;
    startMore();
}

void ThumbnailLoader::startMore()
{
    while (m_running < m_parallel && m_next < m_jobs.size()) {
        const int index = m_next++;
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
