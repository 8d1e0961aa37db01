#include "core/dialog/file_list_model.h"

namespace card {

FileListModel::FileListModel(const QString& pattern, QObject* parent)
    : ScannedListModel(parent)
    , m_patterns(pattern.split(u';', Qt::SkipEmptyParts))
{}

QVariant FileListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    return fileName(index.row());
}

void FileListModel::setFolder(const QString& folder)
{
    beginResetModel();
    m_folder = folder;
    restartScan(folder, EntryKind::Files, m_patterns);
    endResetModel();
}

QString FileListModel::fileName(int row) const
{
    if (row < 0 || row >= rowCount())
        return {};
    return scannedNames().at(row);
}

} // namespace card
