// The live view's rows: the newest swipe on top, a separator at each change of day.
#pragma once

#include "core/records/record_filter.h"
#include "core/records/swipe.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QList>

#include <deque>
#include <vector>

namespace card {

// Whether swipe passes the live view's own filters, compared as the query compares: the card
// filter takes the card exactly as listed, the direction choice "進", "出" or all.
bool livePasses(const RecordCriteria& criteria, const Swipe& swipe);

// Keeps the last kLiveRowLimit rows and shows those that pass the filters, newest first, in
// four columns (time, card, name, direction). While paused the shown rows stay still; what
// arrives meanwhile is shown at once on resume. The rows of the latest arrival are fresh until
// fadeHighlight.
class LiveRowModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Role {
        FreshRole = Qt::UserRole + 1, // bool: the row came with the latest arrival
        SeparatorRole,                // QDate: the day that begins below a separator row
    };

    explicit LiveRowModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Adds the new swipes of one look at the file (oldest first); day is the day followed after
    // it. A separator row goes before the first row of another day, and at a change of day
    // without rows.
    void add(const QList<Swipe>& swipes, QDate day);
    // Forgets every row, for another site's file.
    void clear();
    void setFilter(const RecordCriteria& criteria);
    void setPaused(bool paused);
    bool isPaused() const { return m_paused; }
    // The swipes that arrived while paused and pass the filters: shown on resume.
    qsizetype waitingCount() const;
    void fadeHighlight();

    // The swipe of a shown row; nullptr for a separator row.
    const Swipe* swipeAt(int row) const;

private:
    struct Row {
        Swipe swipe;
        QDate separatorDay; // valid for a separator row
        quint64 serial = 0;
    };
    void appendSeparator(QDate day);
    void show(std::vector<Row> rows);
    void trimKept();
    bool passes(const Row& row) const;

    std::deque<Row> m_kept;     // newest first
    std::deque<Row> m_shown;    // the kept rows that pass the filters, newest first
    std::vector<Row> m_waiting; // arrived while paused, oldest first
    RecordCriteria m_filter;
    QDate m_day; // the day of the newest row that has arrived
    quint64 m_nextSerial = 0;
    quint64 m_freshFrom = 0;
    bool m_paused = false;
};

} // namespace card
