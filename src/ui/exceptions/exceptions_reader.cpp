#include "ui/exceptions/exceptions_reader.h"

#include "core/platform/site_io_task.h"

#include <QMutex>
#include <QMutexLocker>
#include <QTimer>

#include <atomic>

namespace card {

namespace {

// Hits are taken over this often: each hand-over is one short turn of the interface thread
// however many days were read meanwhile.
constexpr int kHandOverMs = 50;

} // namespace

// What the reading thread leaves for the window; the reading never touches the window itself,
// which may be gone before it ends.
struct ExceptionsReader::Shared {
    QMutex mutex;
    QList<ExceptionHit> hits;
    int read = 0;
    int total = 0;
    std::atomic<bool> stop = false;
};

ExceptionsReader::ExceptionsReader(QObject* parent)
    : QObject(parent)
    , m_handOver(new QTimer(this))
{
    m_handOver->setInterval(kHandOverMs);
    connect(m_handOver, &QTimer::timeout, this, &ExceptionsReader::handOver);
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
    emit progressed(0, static_cast<int>(exceptionReadDates(query).size()));
    m_handOver->start();
    runOnSiteIo(
        this,
        [query, shared] {
            findExceptions(query, [&shared](const QList<ExceptionHit>& hits, int read, int total) {
                const QMutexLocker lock(&shared->mutex);
                shared->hits.append(hits);
                shared->read = read;
                shared->total = total;
                return !shared->stop;
            });
            return true;
        },
        [this, ticket](bool) {
            if (!m_reading.isCurrent(ticket))
                return;
            handOver();
            m_handOver->stop();
            m_reading.finish(ticket);
            emit finished();
        });
}

void ExceptionsReader::stop()
{
    if (!isReading())
        return;
    m_shared->stop = true;
    handOver();
    m_handOver->stop();
    m_reading.drop();
    emit finished();
}

void ExceptionsReader::handOver()
{
    QList<ExceptionHit> hits;
    int read = 0;
    int total = 0;
    {
        const QMutexLocker lock(&m_shared->mutex);
        hits.swap(m_shared->hits);
        read = m_shared->read;
        total = m_shared->total;
    }
    if (!hits.isEmpty())
        emit hitsFound(hits);
    if (total > 0)
        emit progressed(read, total);
}

} // namespace card
