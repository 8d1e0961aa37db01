#include "ui/exceptions/exceptions_reader.h"

#include "core/platform/site_io_task.h"

#include <QMutex>
#include <QMutexLocker>
#include <QTimer>

#include <atomic>
#include <deque>

namespace card {

namespace {

// Hits are taken over this often while the reading keeps up ...
constexpr int kHandOverMs = 10;
// ... and in batches of the hits of whole days, up to this many when the days are small, one at
// a time: a backlog goes over a batch a turn of the interface thread, which sorts each into the
// rows, with the window's other work in between. A day's hits stay in one batch: split, they
// would be sorted in among each other row by row.
constexpr qsizetype kBatchRows = 10000;

} // namespace

// What the reading thread leaves for the window; the reading never touches the window itself,
// which may be gone before it ends.
struct ExceptionsReader::Shared {
    QMutex mutex;
    std::deque<QList<ExceptionHit>> batches;
    int read = 0;
    int total = 0;
    std::atomic<bool> stop = false;

    // Called with the lock held.
    void add(const QList<ExceptionHit>& hits)
    {
        if (hits.isEmpty())
            return;
        if (!batches.empty() && batches.back().size() + hits.size() <= kBatchRows)
            batches.back().append(hits);
        else
            batches.push_back(hits);
    }
};

ExceptionsReader::ExceptionsReader(QObject* parent)
    : QObject(parent)
    , m_handOver(new QTimer(this))
{
    m_handOver->setInterval(kHandOverMs);
    connect(m_handOver, &QTimer::timeout, this, &ExceptionsReader::handOverTurn);
}

ExceptionsReader::~ExceptionsReader()
{
    if (m_shared)
        m_shared->stop = true;
}

void ExceptionsReader::start(const ExceptionQuery& query)
{
    if (m_shared)
        m_shared->stop = true;
    const LatestRequest::Ticket ticket = m_reading.start();
    auto shared = std::make_shared<Shared>();
    m_shared = shared;
    m_allRead = false;
    m_handOver->setInterval(kHandOverMs);
    emit progressed(0, static_cast<int>(exceptionReadDates(query).size()));
    m_handOver->start();
    runOnSiteIo(
        this,
        [query, shared] {
            findExceptions(query, [&shared](const QList<ExceptionHit>& hits, int read, int total) {
                const QMutexLocker lock(&shared->mutex);
                shared->add(hits);
                shared->read = read;
                shared->total = total;
                return !shared->stop;
            });
            return true;
        },
        [this, ticket](bool) {
            if (!m_reading.isCurrent(ticket))
                return;
            m_allRead = true;
            handOverTurn();
        });
}

void ExceptionsReader::stop()
{
    if (!isReading())
        return;
    m_shared->stop = true;
    while (handOver()) {
    }
    m_reading.drop();
    end();
}

void ExceptionsReader::handOverTurn()
{
    const bool more = handOver();
    m_handOver->setInterval(more ? 0 : kHandOverMs);
    if (!more && m_allRead) {
        m_reading.finish(m_reading.current());
        end();
    }
}

bool ExceptionsReader::handOver()
{
    QList<ExceptionHit> hits;
    int read = 0;
    int total = 0;
    bool more = false;
    {
        const QMutexLocker lock(&m_shared->mutex);
        if (!m_shared->batches.empty()) {
            hits = std::move(m_shared->batches.front());
            m_shared->batches.pop_front();
        }
        more = !m_shared->batches.empty();
        read = m_shared->read;
        total = m_shared->total;
    }
    if (!hits.isEmpty())
        emit hitsFound(hits);
    if (total > 0)
        emit progressed(read, total);
    return more;
}

void ExceptionsReader::end()
{
    m_handOver->stop();
    m_allRead = false;
    emit finished();
}

} // namespace card
