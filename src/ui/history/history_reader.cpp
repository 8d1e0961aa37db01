#include "ui/history/history_reader.h"

#include "core/platform/site_io_pool.h"
#include "core/platform/site_io_task.h"

namespace card {

HistoryReader::HistoryReader(QObject* parent)
    : QObject(parent)
    , m_parallel(SiteIoBudget::historyDays())
{}

void HistoryReader::start(const HistoryQuery& query)
{
    m_reading.start();
    m_query = query;
    m_dates = historyDates(query);
    m_next = 0;
    m_running = 0;
    m_read = 0;
    emit progressed(0, static_cast<int>(m_dates.size()));
    startMore();
}

void HistoryReader::stop()
{
    const bool wasReading = isReading();
    m_reading.drop();
    m_next = static_cast<int>(m_dates.size());
    m_running = 0;
    if (wasReading)
        emit finished(false);
}

void HistoryReader::startMore()
{
    while (m_running < m_parallel && m_next < m_dates.size()) {
        const QDate date = m_dates[m_next++];
        ++m_running;
        const LatestRequest::Ticket reading = m_reading.current();
        runOnSiteIo(
            this, [query = m_query, date] { return readHistoryDay(query, date); },
            [this, reading](const QList<HistoryDay>& entries) {
                if (m_reading.isCurrent(reading))
                    dayDone(entries);
            });
    }
}

void HistoryReader::dayDone(const QList<HistoryDay>& entries)
{
    --m_running;
    ++m_read;
    emit dayRead(entries);
    emit progressed(m_read, static_cast<int>(m_dates.size()));
    startMore();
    if (m_running == 0)
        emit finished(true);
}

} // namespace card
