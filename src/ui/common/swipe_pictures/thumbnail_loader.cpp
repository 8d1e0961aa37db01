#include "ui/common/swipe_pictures/thumbnail_loader.h"

#include "core/platform/bounded_site_work.h"

#include <algorithm>

namespace card {

ThumbnailLoader::ThumbnailLoader(int parallel, QObject* parent)
    : QObject(parent)
    , m_work(new BoundedSiteWork(parallel, this))
{}

void ThumbnailLoader::load(QList<Job> jobs, int first)
{
    const auto count = static_cast<int>(jobs.size());
    first = std::clamp(first, 0, std::max(count - 1, 0));
    QList<BoundedSiteWork::Piece> pieces;
    pieces.reserve(count);
    const auto add = [&](int index) {
        pieces.append([this, index, job = jobs[index]]() -> BoundedSiteWork::Deliver {
            return [this, index, image = job()] {
                emit loaded(index, image);
            };
        });
    };
    for (int distance = 0; pieces.size() < count; ++distance) {
        if (first + distance < count)
            add(first + distance);
        if (distance > 0 && first - distance >= 0)
            add(first - distance);
    }
    m_work->replace(std::move(pieces));
}

} // namespace card
