// Reads the day files of a card history off the interface thread, the newest day first, as
// many at a time as the site work budget gives, and hands each day over as soon as it is read.
#pragma once

#include "core/platform/latest_request.h"
#include "core/records/card_history.h"

#include <QObject>

namespace card {

class HistoryReader : public QObject {
    Q_OBJECT
public:
    explicit HistoryReader(QObject* parent);

    // Starts reading query's range; a reading still running is dropped.
    void start(const HistoryQuery& query);
    // Reads no further day; what was handed over stays.
    void stop();
    bool isReading() const { return m_running > 0; }

signals:
    void dayRead(const QList<HistoryDay>& entries);
    void progressed(int read, int total);
    // allRead: every day of the range was read, none left out by a stop.
    void finished(bool allRead);

private:
    void startMore();
    void dayDone(const QList<HistoryDay>& entries);

    HistoryQuery m_query;
    QList<QDate> m_dates;
    int m_next = 0;
    int m_running = 0;
    int m_read = 0;
    int m_parallel;
    LatestRequest m_reading; // results of an earlier start are dropped
};

} // namespace card
