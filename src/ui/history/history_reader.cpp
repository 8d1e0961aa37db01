#include "ui/history/history_reader.h"

#include "core/platform/bounded_site_work.h"
#include "core/platform/site_io_pool.h"

#include <QTimer>

namespace card {

HistoryReader::HistoryReader(QObject* parent)
    : QObject(parent)
    , m_work(new BoundedSiteWork(SiteIoBudget::historyDays(), this))
    , m_handOverTimer(new QTimer(this))
{
    m_handOverTimer->setSingleShot(true);
    m_handOverTimer->setInterval(kHandOverMs);
    connect(m_handOverTimer, &QTimer::timeout, this, [this] {
        if (!m_unhanded.isEmpty())
            handOver();
    });
}

void HistoryReader::start(const HistoryQuery& query)
{
    const QList<QDate> dates = historyDates(query);
    m_total = static_cast<int>(dates.size());
    m_read = 0;
    m_unhanded.clear();
    m_handOverTimer->stop();
    m_reading = m_total > 0;
    emit progressed(0, m_total);
    QList<BoundedSiteWork::Piece> reads;
    reads.reserve(m_total);
    for (const QDate date : dates) {
        reads.append([this, query, date]() -> BoundedSiteWork::Deliver {
            return [this, entries = readHistoryDay(query, date)] {
                dayDone(entries);
            };
        });
    }
    m_work->replace(std::move(reads));
}

void HistoryReader::stop()
{
    m_work->drop();
    if (!m_reading)
        return;
    m_reading = false;
    handOver();
    emit finished(false);
}

int HistoryReader::readsInFlight() const
{
    return m_work->inFlight();
}

void HistoryReader::dayDone(const QList<HistoryDay>& entries)
{
    ++m_read;
    m_unhanded.append(entries);
    const bool last = m_read == m_total;
    if (last || !m_handOverTimer->isActive())
        handOver();
    if (last && m_reading) {
        m_reading = false;
        emit finished(true);
    }
}

void HistoryReader::handOver()
{
    m_handOverTimer->start();
    const QList<HistoryDay> entries = std::exchange(m_unhanded, {});
    if (!entries.isEmpty())
        emit daysRead(entries);
    emit progressed(m_read, m_total);
}

} // namespace card
