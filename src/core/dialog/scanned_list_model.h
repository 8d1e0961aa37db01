// A list of the names in one folder, read on siteIoPool() so that a slow share never holds the
// interface thread: the first names show as soon as they are read, the rest merge in growing
// batches.
#pragma once

#include "core/platform/latest_request.h"

#include <QAbstractListModel>
#include <QRegularExpression>
#include <QStringList>

#include <memory>

namespace card {

class ScannedListModel : public QAbstractListModel {
    Q_OBJECT
public:
    // Directory entries read for the first batch, listed or not: a few milliseconds of work.
    static constexpr int kSliceSize = 1024;

    enum class EntryKind { Folders, Files };

    ~ScannedListModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;

    // True once every entry of the folder has been read and listed.
    bool scanComplete() const;

signals:
    // The listing of the current folder has come back whole.
    void scanFinished();

protected:
    explicit ScannedListModel(QObject* parent);

    // Starts a fresh listing of folder; call it between beginResetModel() and endResetModel().
    // A listing still running for an earlier folder is dropped. Hidden entries are never listed;
    // patterns are wildcards matched case-sensitively.
    void restartScan(const QString& folder, EntryKind kind, const QStringList& patterns = {});

    // Rows above the scanned names (the folder chain of the folder list).
    virtual int leadingRows() const { return 0; }

    const QStringList& scannedNames() const { return m_names; }

private:
    class Channel;
    friend class Channel;

    void takeBatch(quint64 generation, QStringList names, bool last);
    // Merges sorted names into the list.
    void merge(QStringList slice);

    std::shared_ptr<Channel> m_channel;
    LatestRequest m_scan; // pending until the listing of the current folder is whole
    QStringList m_names;
};

} // namespace card
