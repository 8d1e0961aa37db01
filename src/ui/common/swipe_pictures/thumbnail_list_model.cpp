#include "ui/common/swipe_pictures/thumbnail_list_model.h"

#include "ui/common/photo_loader.h"

#include <QColor>
#include <QFont>

namespace card {

namespace {

const QColor kPendingColour(0xD8, 0xD8, 0xD8);
const QString kTick = QStringLiteral("✓ ");

} // namespace

ThumbnailListModel::ThumbnailListModel(const QSize& thumbnailSize, QObject* parent)
    : QAbstractListModel(parent)
    , m_pending(thumbnailSize)
    , m_noPhoto(noPhotoThumbnail(thumbnailSize))
{
    m_pending.fill(kPendingColour);
}

void ThumbnailListModel::setTexts(const QStringList& texts)
{
    beginResetModel();
    m_rows.clear();
    m_rows.reserve(texts.size());
    for (const QString& text : texts)
        m_rows.append({text, {}, Pending});
    m_marked = -1;
    m_ticked = -1;
    endResetModel();
}

void ThumbnailListModel::setThumbnail(int row, const QImage& image)
{
    if (row < 0 || row >= m_rows.size())
        return;
    Row& target = m_rows[row];
    target.state = image.isNull() ? NoPhoto : Shown;
    target.picture = image.isNull() ? QPixmap() : QPixmap::fromImage(image);
    const QModelIndex changed = index(row);
    emit dataChanged(changed, changed, {Qt::DecorationRole, ThumbnailStateRole});
}

void ThumbnailListModel::setMarkedRow(int row)
{
    if (row == m_marked)
        return;
    const int previous = m_marked;
    m_marked = row >= 0 && row < m_rows.size() ? row : -1;
    for (int changed : {previous, m_marked}) {
        if (changed >= 0)
            emit dataChanged(index(changed), index(changed), {Qt::FontRole});
    }
}

void ThumbnailListModel::setTickedRow(int row)
{
    const int previous = m_ticked;
    m_ticked = row >= 0 && row < m_rows.size() ? row : -1;
    for (int changed : {previous, m_ticked}) {
        if (changed >= 0)
            emit dataChanged(index(changed), index(changed),
                             {Qt::DisplayRole, Qt::AccessibleTextRole});
    }
}

int ThumbnailListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

QVariant ThumbnailListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const Row& row = m_rows[index.row()];
    const bool marked = index.row() == m_marked;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return index.row() == m_ticked ? kTick + row.text : row.text;
    case Qt::DecorationRole:
        return row.state == Shown ? row.picture : row.state == NoPhoto ? m_noPhoto : m_pending;
    case Qt::FontRole:
        if (marked) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case ThumbnailStateRole:
        return row.state;
    default:
        return {};
    }
}

} // namespace card
