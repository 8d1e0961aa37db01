// The one model behind the four result lists: each list shows one column of it.
#pragma once

#include "core/records/record_table.h"

#include <QAbstractTableModel>

namespace card {

class RecordTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Replaces all rows in one reset.
    void setTable(RecordTable table);
    // Removes all rows in one reset.
    void clear();
    // The listed rows, for taking them out (copy, export).
    const RecordTable& table() const { return m_table; }

private:
    RecordTable m_table;
};

} // namespace card
