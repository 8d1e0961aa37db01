// Reads the day files of a card history off the interface thread, the newest day first, as
// many at a time as the site work budget gives, and hands the days over as they are read: the
// first at once, the rest gathered into at most one hand-over per kHandOverMs, so that the
// list, its summaries and its hour picture are rebuilt a few times per search, not once per day.
#pragma once

#include "core/records/card_history.h"

#include <QObject>

class QTimer;

namespace card {

class BoundedSiteWork;

class HistoryReader : public QObject {
    Q_OBJECT
public:
    static constexpr int kHandOverMs = 50;

    explicit HistoryReader(QObject* parent);

    // Starts reading query's range; the days of a reading still running are dropped, while
    // its reads still on the pool count against the budget until they return.
    void start(const HistoryQuery& query);
    // Reads no further day; the days read so far are handed over, what was handed over stays.
    void stop();
    bool isReading() const { return m_reading; }
    // Day reads on the pool now, those of dropped readings included.
    int readsInFlight() const;

signals:
    // The entries of one or more days, each day's entries together.
    void daysRead(const QList<HistoryDay>& entries);
    void progressed(int read, int total);
    // allRead: every day of the range was read, none left out by a stop.
    void finished(bool allRead);

private:
    void dayDone(const QList<HistoryDay>& entries);
    void handOver();

    BoundedSiteWork* m_work;
    QTimer* m_handOverTimer;      // runs for kHandOverMs after each hand-over
    QList<HistoryDay> m_unhanded; // read since the last hand-over; every day has an entry
    int m_total = 0;
    int m_read = 0;
    bool m_reading = false;
};

} // namespace card
