#include "core/dialog/scanned_list_model.h"

#include "core/platform/file_access.h"
#include "core/platform/site_io_pool.h"

#include <QMetaObject>
#include <QMutex>

#include <algorithm>

namespace card {

namespace {

// Entries read before a batch is sent at most: a slow share still shows names now and then.
constexpr int kMaxBatchEntries = 16 * ScannedListModel::kSliceSize;
// In a huge folder a batch is at least this fraction of the entries read before it.
constexpr qsizetype kGrowthFraction = 4;

// Alphabetical as an operator reads it; names differing only in case keep a fixed order.
bool nameLess(const QString& a, const QString& b)
{
    const int order = a.compare(b, Qt::CaseInsensitive);
    return order != 0 ? order < 0 : a < b;
}

bool matchesAny(const QList<QRegularExpression>& patterns, const QString& name)
{
    return patterns.isEmpty() ||
           std::any_of(patterns.cbegin(), patterns.cend(),
                       [&name](const QRegularExpression& p) { return p.match(name).hasMatch(); });
}

} // namespace

// The way back from a listing thread to the model. The model may be destroyed, or move on to
// another folder, while a listing still runs: posting is done under the lock, so it never
// reaches a destroyed model, and a listing whose generation is no longer current stops reading.
class ScannedListModel::Channel {
public:
    explicit Channel(ScannedListModel* model)
        : m_model(model)
    {}

    void start(quint64 generation)
    {
        QMutexLocker lock(&m_mutex);
        m_current = generation;
    }
    void close()
    {
        QMutexLocker lock(&m_mutex);
        m_model = nullptr;
    }
    bool current(quint64 generation) const
    {
        QMutexLocker lock(&m_mutex);
        return m_current == generation;
    }

    // False once nobody wants this listing any more.
    bool post(quint64 generation, QStringList names, bool last)
    {
        QMutexLocker lock(&m_mutex);
        if (!m_model || m_current != generation)
            return false;
        ScannedListModel* model = m_model;
        QMetaObject::invokeMethod(
            model,
            [model, generation, names = std::move(names), last]() mutable {
                model->takeBatch(generation, std::move(names), last);
            },
            Qt::QueuedConnection);
        return true;
    }

private:
    // A lock rather than an atomic: the listing looks once per entry, which costs nothing
    // beside reading the entry, and one lock guards both fields.
    mutable QMutex m_mutex;
    ScannedListModel* m_model;
    quint64 m_current = 0;
};

ScannedListModel::ScannedListModel(QObject* parent)
    : QAbstractListModel(parent)
    , m_channel(std::make_shared<Channel>(this))
{}

ScannedListModel::~ScannedListModel()
{
    // Batches already posted are discarded with the object's pending events.
    m_channel->close();
}

int ScannedListModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return leadingRows() + static_cast<int>(m_names.size());
}

bool ScannedListModel::scanComplete() const
{
    return !m_scan.pending();
}

void ScannedListModel::restartScan(const QString& folder, EntryKind kind,
                                   const QStringList& patterns)
{
    const LatestRequest::Ticket generation = m_scan.start();
    m_channel->start(generation);
    m_names.clear();

    QList<QRegularExpression> compiled;
    for (const QString& pattern : patterns)
        compiled.append(QRegularExpression::fromWildcard(pattern, Qt::CaseSensitive));
    const bool folders = kind == EntryKind::Folders;
    siteIoPool().start([channel = m_channel, generation, folder, folders, compiled] {
        QStringList batch;
        int read = 0;
        int batchEntries = kSliceSize;
        bool wanted = true;
        const auto send = [&](bool last) {
            // Sorted here, so the interface thread only merges.
            std::sort(batch.begin(), batch.end(), nameLess);
            wanted = channel->post(generation, std::exchange(batch, {}), last);
        };
        qsizetype total = 0;
        // Every entry is looked at and filtered here, so a batch is sent after a number of
        // entries even in a folder where few match. Merging a batch moves every listed name,
        // so batches grow with the part already read: the merging stays in proportion to the
        // folder's size.
        fileAccess().listFolder(folder, [&](const QString& name, bool isFolder) {
            if (isFolder == folders && matchesAny(compiled, name))
                batch.append(name);
            ++total;
            if (++read < batchEntries || batch.isEmpty())
                return channel->current(generation);
            read = 0;
            batchEntries = static_cast<int>(std::max<qsizetype>(
                std::min(batchEntries * 2, kMaxBatchEntries), total / kGrowthFraction));
            send(false);
            return wanted;
        });
        if (wanted)
            send(true);
    });
}

void ScannedListModel::takeBatch(quint64 generation, QStringList names, bool last)
{
    if (!m_scan.isCurrent(generation) || !m_scan.pending())
        return; // a listing of a folder left meanwhile
    if (last)
        m_scan.finish(generation);
    if (!names.isEmpty())
        merge(std::move(names));
    if (last)
        emit scanFinished();
}

void ScannedListModel::merge(QStringList slice)
{
    // Both lists are sorted: one pass takes the lesser name of the two each time.
    QStringList merged;
    merged.reserve(m_names.size() + slice.size());
    QList<int> newRowOf(m_names.size());
    qsizetype old = 0;
    for (QString& name : slice) {
        for (; old < m_names.size() && !nameLess(name, m_names.at(old)); ++old) {
            newRowOf[old] = static_cast<int>(merged.size());
            merged.append(std::move(m_names[old]));
        }
        merged.append(std::move(name));
    }
    for (; old < m_names.size(); ++old) {
        newRowOf[old] = static_cast<int>(merged.size());
        merged.append(std::move(m_names[old]));
    }

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
