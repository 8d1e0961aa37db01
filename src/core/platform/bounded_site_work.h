// A list of pieces of site work run on siteIoPool() a bounded number at a time, where only the
// newest list's results count.
#pragma once

#include "core/platform/latest_request.h"

#include <QList>
#include <QObject>

#include <functional>

namespace card {

class BoundedSiteWork : public QObject {
public:
    // What to do with a piece's result, called on the owner's thread.
    using Deliver = std::function<void()>;
    // Runs on the pool and must own everything it uses.
    using Piece = std::function<Deliver()>;

    BoundedSiteWork(int bound, QObject* parent);

    // Replaces the pieces not yet started; those already started deliver nothing. They are run
    // in the order given.
    void replace(QList<Piece> pieces);
    void drop() { replace({}); }
    // Pieces on the pool now, those whose results are no longer wanted included: a read that
    // hangs on a dead share keeps its place, so a new list never adds reads beside it past the
    // bound.
    int inFlight() const { return m_inFlight; }

private:
    void startMore();

    int m_bound;
    QList<Piece> m_pieces;
    qsizetype m_next = 0;
    int m_inFlight = 0;
    LatestRequest m_list;
};

} // namespace card
