#include "core/platform/site_io_pool.h"

#include <QThreadPool>

namespace card {

QThreadPool& siteIoPool()
{
    // Deliberately never destroyed: its destructor would wait for a blocked worker.
    static QThreadPool* const pool = [] {
        auto* created = new QThreadPool;
        created->setMaxThreadCount(4);
        return created;
    }();
    return *pool;
}

} // namespace card
