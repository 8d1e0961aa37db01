#include "param_file/scanned_list_model.h"

#include <QDirIterator>

#include <algorithm>

namespace card {

namespace {

// Alphabetical as an operator reads it; names differing only in case keep a fixed order.
bool nameLess(const QString& a, const QString& b) {
    const int order = a.compare(b, Qt::CaseInsensitive);
    return order != 0 ? order < 0 : a < b;
}

} // namespace

ScannedListModel::ScannedListModel(QObject* parent)
    : QAbstractListModel(parent) {
    m_sliceTimer.setInterval(0);
    connect(&m_sliceTimer, &QTimer::timeout, this, &ScannedListModel::mergeNextSlice);
}

ScannedListModel::~ScannedListModel() = default;

int ScannedListModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return leadingRows() + static_cast<int>(m_names.size());
}

bool ScannedListModel::scanComplete() const {
    return !m_iterator;
}

void ScannedListModel::restartScan(const QString& folder, QDir::Filters filters,
                                   const QStringList& patterns) {
    m_sliceTimer.stop();
    m_iterator = std::make_unique<QDirIterator>(folder, patterns, filters | QDir::CaseSensitive);
    m_names = readSlice();
    if (m_iterator)
        m_sliceTimer.start();
}

QStringList ScannedListModel::readSlice() {
    QStringList slice;
    while (slice.size() < kSliceSize && m_iterator->hasNext()) {
        m_iterator->next();
        slice.append(m_iterator->fileName());
    }
    if (!m_iterator->hasNext())
        m_iterator.reset();
    std::sort(slice.begin(), slice.end(), nameLess);
    return slice;
}

void ScannedListModel::mergeNextSlice() {
    if (!m_iterator) {
        m_sliceTimer.stop();
        return;
    }
    const QStringList slice = readSlice();
    if (!m_iterator)
        m_sliceTimer.stop();
    if (slice.isEmpty())
        return;

    QStringList merged;
    merged.reserve(m_names.size() + slice.size());
    QList<int> newRowOf(m_names.size());
    qsizetype next = 0;
    for (qsizetype old = 0; old < m_names.size(); ++old) {
        while (next < slice.size() && nameLess(slice.at(next), m_names.at(old)))
            merged.append(slice.at(next++));
        newRowOf[old] = static_cast<int>(merged.size());
        merged.append(m_names.at(old));
    }
    while (next < slice.size())
        merged.append(slice.at(next++));

    // A highlighted row keeps its name while the rows around it move.
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    m_names = std::move(merged);
    const int lead = leadingRows();
    const QModelIndexList persistent = persistentIndexList();
    for (const QModelIndex& index : persistent) {
        if (index.row() >= lead)
            changePersistentIndex(index, this->index(lead + newRowOf.at(index.row() - lead)));
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

} // namespace card
