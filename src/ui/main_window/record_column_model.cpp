#include "ui/main_window/record_column_model.h"

namespace card {

RecordColumnModel::RecordColumnModel(int column, QObject* parent)
    : QIdentityProxyModel(parent)
    , m_column(column)
{}

int RecordColumnModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 1;
}

QModelIndex RecordColumnModel::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() || column != 0 || row < 0 || row >= rowCount())
        return {};
    return createIndex(row, 0);
}

QModelIndex RecordColumnModel::parent(const QModelIndex&) const
{
    return {};
}

QModelIndex RecordColumnModel::mapToSource(const QModelIndex& proxyIndex) const
{
    if (!proxyIndex.isValid() || !sourceModel())
        return {};
    return sourceModel()->index(proxyIndex.row(), m_column);
}

QModelIndex RecordColumnModel::mapFromSource(const QModelIndex& sourceIndex) const
{
    if (!sourceIndex.isValid() || sourceIndex.column() != m_column)
        return {};
    return createIndex(sourceIndex.row(), 0);
}

} // namespace card
