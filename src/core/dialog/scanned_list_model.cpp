#include "core/dialog/scanned_list_model.h"

#include <QDirIterator>

#include <algorithm>

namespace card {

namespace {

constexpr qsizetype kMergeFraction = 4;

// Alphabetical as an operator reads it; names differing only in case keep a fixed order.
bool nameLess(const QString& a, const QString& b)
{
    const int order = a.compare(b, Qt::CaseInsensitive);
    return order != 0 ? order < 0 : a < b;
}

} // namespace

ScannedListModel::ScannedListModel(QObject* parent)
    : QAbstractListModel(parent)
{
    m_sliceTimer.setInterval(0);
    connect(&m_sliceTimer, &QTimer::timeout, this, &ScannedListModel::mergeNextSlice);
}

ScannedListModel::~ScannedListModel() = default;

int ScannedListModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return leadingRows() + static_cast<int>(m_names.size());
}

bool ScannedListModel::scanComplete() const
{
    return !m_iterator;
}

void ScannedListModel::restartScan(const QString& folder, EntryKind kind,
                                   const QStringList& patterns)
{
    m_sliceTimer.stop();
    m_kind = kind;
    m_patterns.clear();
    for (const QString& pattern : patterns)
        m_patterns.append(QRegularExpression::fromWildcard(pattern, Qt::CaseSensitive));
    m_iterator = std::make_unique<QDirIterator>(folder, QDir::AllEntries | QDir::NoDotAndDotDot);
    m_names = readSlice();
    m_pending.clear();
    std::sort(m_names.begin(), m_names.end(), nameLess);
    if (m_iterator)
        m_sliceTimer.start();
}

bool ScannedListModel::listed(const QFileInfo& entry) const
{
    if (entry.isDir() != (m_kind == EntryKind::Folders))
        return false;
    if (m_patterns.isEmpty())
        return true;
    const QString name = entry.fileName();
    return std::any_of(
        m_patterns.cbegin(), m_patterns.cend(),
        [&name](const QRegularExpression& pattern) { return pattern.match(name).hasMatch(); });
}

QStringList ScannedListModel::readSlice()
{
    QStringList slice;
    for (int read = 0; read < kSliceSize && m_iterator->hasNext(); ++read) {
        m_iterator->next();
        if (listed(m_iterator->fileInfo()))
            slice.append(m_iterator->fileName());
    }
    if (!m_iterator->hasNext())
        m_iterator.reset();
    return slice;
}

void ScannedListModel::mergeNextSlice()
{
    if (!m_iterator) {
        m_sliceTimer.stop();
        return;
    }
    m_pending += readSlice();
    if (!m_iterator)
        m_sliceTimer.stop();
    // Merging moves every listed name; done only when the new names are a good part of the
    // list, the total work stays proportional to the folder's size.
    const qsizetype batch = std::max<qsizetype>(kSliceSize, m_names.size() / kMergeFraction);
    if (m_pending.isEmpty() || (m_iterator && m_pending.size() < batch))
        return;
    QStringList slice = std::exchange(m_pending, {});
    std::sort(slice.begin(), slice.end(), nameLess);

    // Each new name finds its place by binary search; the names between move over unchanged.
    QStringList merged;
    merged.reserve(m_names.size() + slice.size());
    QList<int> newRowOf(m_names.size());
    qsizetype old = 0;
    const auto moveOldUpTo = [&](qsizetype end) {
        for (; old < end; ++old) {
            newRowOf[old] = static_cast<int>(merged.size());
            merged.append(std::move(m_names[old]));
        }
    };
    for (QString& name : slice) {
        moveOldUpTo(std::upper_bound(m_names.begin() + old, m_names.end(), name, nameLess) -
                    m_names.begin());
        merged.append(std::move(name));
    }
    moveOldUpTo(m_names.size());

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
