// One column of the record table as a list of its own.
#pragma once

#include <QIdentityProxyModel>

namespace card {

// Each result list shows one column of the shared table through its own one-column model, so a
// screen reader reads list k's rows as column k; the rows stay in step because every list counts
// the same table.
class RecordColumnModel : public QIdentityProxyModel {
    Q_OBJECT
public:
    RecordColumnModel(int column, QObject* parent = nullptr);

    int columnCount(const QModelIndex& parent = {}) const override;
    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;

private:
    int m_column;
};

} // namespace card
