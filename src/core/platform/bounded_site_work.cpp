#include "core/platform/bounded_site_work.h"

#include "core/platform/site_io_task.h"

namespace card {

BoundedSiteWork::BoundedSiteWork(int bound, QObject* parent)
    : QObject(parent)
    , m_bound(bound)
{}

void BoundedSiteWork::replace(QList<Piece> pieces)
{
    m_list.start();
    m_pieces = std::move(pieces);
    m_next = 0;
    startMore();
}

void BoundedSiteWork::startMore()
{
    while (m_inFlight < m_bound && m_next < m_pieces.size()) {
        ++m_inFlight;
        const LatestRequest::Ticket list = m_list.current();
        runOnSiteIo(this, m_pieces[m_next++], [this, list](const Deliver& deliver) {
            --m_inFlight;
            if (m_list.isCurrent(list))
                deliver();
            startMore();
        });
    }
}

} // namespace card
