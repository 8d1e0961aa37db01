#include "ui/exceptions/exception_rows_model.h"

#include "core/records/exception_export.h"
#include "ui/exceptions/exceptions_texts.h"

#include <algorithm>

namespace card {

ExceptionRowsModel::ExceptionRowsModel(QObject* parent)
    : QAbstractTableModel(parent)
{}

void ExceptionRowsModel::clear()
{
    beginResetModel();
    m_batches.clear();
    m_batchEnds.clear();
    m_ruleCounts.fill(0);
    endResetModel();
}

void ExceptionRowsModel::append(const QList<ExceptionHit>& hits)
{
    if (hits.isEmpty())
        return;
    const int first = rowCount();
    const int end = first + static_cast<int>(hits.size());
    beginInsertRows({}, first, end - 1);
    m_batches.push_back(hits);
    m_batchEnds.push_back(end);
    for (const ExceptionHit& hit : hits)
        ++m_ruleCounts[static_cast<size_t>(hit.rule)];
    endInsertRows();
}

const ExceptionHit& ExceptionRowsModel::hit(int row) const
{
    const auto batch = static_cast<std::size_t>(
        std::upper_bound(m_batchEnds.begin(), m_batchEnds.end(), row) - m_batchEnds.begin());
    const int first = batch == 0 ? 0 : m_batchEnds[batch - 1];
    return m_batches[batch][row - first];
}

qint64 ExceptionRowsModel::moment(int row) const
{
    return hit(row).moment();
}

QList<ExceptionHit> ExceptionRowsModel::hits() const
{
    QList<ExceptionHit> all;
    all.reserve(rowCount());
    for (const QList<ExceptionHit>& batch : m_batches)
        all.append(batch);
    return all;
}

int ExceptionRowsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || m_batchEnds.empty() ? 0 : m_batchEnds.back();
}

int ExceptionRowsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ExceptionRowsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const ExceptionHit& hit = this->hit(index.row());
    if (role == RuleRole)
        return static_cast<int>(hit.rule);
    if (role == SortRole && (index.column() == DateColumn || index.column() == TimeColumn))
        return moment(index.row());
    if (role == SortRole && index.column() == RuleColumn)
        return static_cast<int>(hit.rule);
    if (role != Qt::DisplayRole && role != SortRole)
        return {};
    return exceptionValues(hit).at(index.column());
}

QVariant ExceptionRowsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return exceptions_texts::kColumns.value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

ExceptionRowsFilter::ExceptionRowsFilter(ExceptionRowsModel* rows, QObject* parent)
    : QSortFilterProxyModel(parent)
    , m_rows(rows)
{
    setSourceModel(rows);
    m_shown.fill(true);
    setSortRole(ExceptionRowsModel::SortRole);
    setDynamicSortFilter(true);
}

void ExceptionRowsFilter::setRuleShown(ExceptionRule rule, bool shown)
{
    m_shown[static_cast<size_t>(rule)] = shown;
    invalidateFilter();
}

bool ExceptionRowsFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    if (sourceParent.isValid())
        return false;
    return m_shown[static_cast<size_t>(m_rows->hit(sourceRow).rule)];
}

// The columns of numbers compare the hits themselves: sorting a busy day's batch in compares
// its rows hundreds of thousands of times, each through two values made for the purpose.
bool ExceptionRowsFilter::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    switch (left.column()) {
    case ExceptionRowsModel::DateColumn:
    case ExceptionRowsModel::TimeColumn:
        return m_rows->moment(left.row()) < m_rows->moment(right.row());
    case ExceptionRowsModel::RuleColumn:
        return m_rows->hit(left.row()).rule < m_rows->hit(right.row()).rule;
    default:
        return QSortFilterProxyModel::lessThan(left, right);
    }
}

} // namespace card
