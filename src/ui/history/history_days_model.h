// The rows of a card history: one per day (and card, for a name matching several), newest
// first, with the day's summary and its swipes per hour. Only the first kHistoryCardLimit cards
// met get rows.
#pragma once

#include "core/records/card_history.h"

#include <QAbstractTableModel>

namespace card {

class HistoryDaysModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Date, Weekday, Card, Name, FirstIn, LastOut, Count, Span, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void clear();
    // Adds the entries of one or more days (each day's entries together) in their place,
    // newest day first, those of cards past the limit left out; rows that land side by side
    // are inserted at once.
    void addDays(const QList<HistoryDay>& entries);
    bool cardLimitPassed() const { return m_cards.limitPassed(); }
    bool severalCards() const { return m_cards.several(); }
    bool hasSwipes() const;

    const HistoryDay& day(int row) const { return m_rows[row].day; }
    const HourCounts& hours(int row) const { return m_rows[row].hours; }
    // Every swipe of every row, in row order.
    QList<Swipe> allSwipes() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    struct Row {
        HistoryDay day;
        DaySummary summary;
        HourCounts hours;
    };
    QString text(const Row& row, int column) const;
    QList<Row> admittedRows(const QList<HistoryDay>& entries);

    QList<Row> m_rows;
    HistoryCards m_cards;
};

} // namespace card
