// How the live view's rows look: headings, the highlight of new rows and the day separators.
#pragma once

#include <QIdentityProxyModel>

namespace card {

class LiveRowLook : public QIdentityProxyModel {
    Q_OBJECT
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
};

} // namespace card
