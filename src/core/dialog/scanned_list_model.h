// A list of the names in one folder, read a slice at a time so that a huge folder stays
// responsive: the first slice at once, the rest on later turns of the event loop.
#pragma once

#include <QAbstractListModel>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <QTimer>

#include <memory>

class QDirIterator;

namespace card {

class ScannedListModel : public QAbstractListModel {
    Q_OBJECT
public:
    // Directory entries read per slice, listed or not: a few milliseconds of work.
    static constexpr int kSliceSize = 1024;

    enum class EntryKind { Folders, Files };

    ~ScannedListModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;

    // True once every entry of the folder has been read.
    bool scanComplete() const;

protected:
    explicit ScannedListModel(QObject* parent);

    // Starts a fresh listing of folder; call it between beginResetModel() and endResetModel().
    // Hidden entries are never listed; patterns are wildcards matched case-sensitively.
    void restartScan(const QString& folder, EntryKind kind, const QStringList& patterns = {});

    // Rows above the scanned names (the folder chain of the folder list).
    virtual int leadingRows() const { return 0; }

    const QStringList& scannedNames() const { return m_names; }

private:
    bool listed(const QFileInfo& entry) const;
    QStringList readSlice();
    void mergeNextSlice();

    // Every entry is read through the iterator and filtered here: filters inside the iterator
    // would read a whole folder of non-matching entries in one step.
    std::unique_ptr<QDirIterator> m_iterator;
    EntryKind m_kind = EntryKind::Files;
    QList<QRegularExpression> m_patterns;
    QStringList m_names;
    QStringList m_pending; // read, not yet merged into m_names
    QTimer m_sliceTimer;
};

} // namespace card
