#include "core/records/record_table_model.h"

#include <limits>

namespace card {

int RecordTableModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    // Views address rows with int; a day beyond that is cut off rather than wrapped.
    return static_cast<int>(
        std::min<qsizetype>(m_table.rowCount(), std::numeric_limits<int>::max()));
}

int RecordTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kRecordFieldCount;
}

QVariant RecordTableModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    return m_table.text(index.row(), index.column());
}

void RecordTableModel::setTable(RecordTable table)
{
    beginResetModel();
    m_table = std::move(table);
    endResetModel();
}

void RecordTableModel::clear()
{
    setTable(RecordTable());
}

} // namespace card
