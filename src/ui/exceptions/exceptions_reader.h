// Runs the exception rules over a range of days off the interface thread and hands the hits
// over in batches as the days are read.
#pragma once

#include "core/platform/latest_request.h"
#include "core/records/exception_rules.h"

#include <QObject>

#include <memory>

class QTimer;

namespace card {

class ExceptionsReader : public QObject {
    Q_OBJECT
public:
    explicit ExceptionsReader(QObject* parent);
    ~ExceptionsReader() override;

    // Starts reading query's days; a reading still running is stopped and its hits dropped.
    void start(const ExceptionQuery& query);
    // Reads no further day; what was handed over stays.
    void stop();
    bool isReading() const { return m_reading.pending(); }

signals:
    void hitsFound(const QList<ExceptionHit>& hits);
    void progressed(int read, int total);
    void finished();

private:
    struct Shared;
    // One turn of the hand-over: the oldest batch found, and the end once all are over.
    void handOverTurn();
    // Hands over the oldest batch found; true when more wait.
    bool handOver();
    void end();

    LatestRequest m_reading;
    std::shared_ptr<Shared> m_shared;
    QTimer* m_handOver;
    bool m_allRead = false; // the current reading ended, batches may still wait
};

} // namespace card
