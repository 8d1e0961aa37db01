// The exceptions window's rows: one per swipe and rule, with the rules the operator ticked
// shown and any column sorted.
#pragma once

#include "core/records/exception_rules.h"

#include <QAbstractTableModel>
#include <QList>
#include <QSortFilterProxyModel>

#include <array>
#include <vector>

namespace card {

class ExceptionRowsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { DateColumn, TimeColumn, CardColumn, NameColumn, DirectionColumn, RuleColumn };
    static constexpr int ColumnCount = 6;
    enum Role {
        SortRole = Qt::UserRole + 1, // the column's order: a swipe's day and time for both
        RuleRole,                    // the row's ExceptionRule as an int
    };

    explicit ExceptionRowsModel(QObject* parent);

    void clear();
    // Keeps hits as they are, shared and not copied.
    void append(const QList<ExceptionHit>& hits);
    const ExceptionHit& hit(int row) const;
    // The row's day and time in seconds: the order of the date and time columns.
    qint64 moment(int row) const;
    QList<ExceptionHit> hits() const;
    // The rows of each rule so far, in kExceptionRules order.
    const std::array<int, kExceptionRuleCount>& ruleCounts() const { return m_ruleCounts; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    // The batches as handed over: a new batch never moves the rows kept before it, which a
    // year of hits would make a long wait of the interface thread.
    std::vector<QList<ExceptionHit>> m_batches;
    std::vector<int> m_batchEnds; // the row after each batch
    std::array<int, kExceptionRuleCount> m_ruleCounts{};
};

// The rows of the ticked rules, sorted on ExceptionRowsModel::SortRole.
class ExceptionRowsFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    ExceptionRowsFilter(ExceptionRowsModel* rows, QObject* parent);

    void setRuleShown(ExceptionRule rule, bool shown);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    const ExceptionRowsModel* m_rows;
    std::array<bool, kExceptionRuleCount> m_shown;
};

} // namespace card
