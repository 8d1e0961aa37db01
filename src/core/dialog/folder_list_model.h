// The folder list: the folders from the root down to the open folder, then the open
// folder's subfolders, read lazily.
#pragma once

#include "core/dialog/scanned_list_model.h"
#include "core/platform/latest_request.h"

#include <optional>

namespace card {

class FolderListModel : public ScannedListModel {
    Q_OBJECT
public:
    // How far a row is indented: its depth below the root.
    static constexpr int DepthRole = Qt::UserRole + 1;
    // Whether a row lies on the chain down to the open folder (shown as an opened folder).
    static constexpr int OnChainRole = Qt::UserRole + 2;

    explicit FolderListModel(QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // The open folder, as native path; a root keeps its closing separator.
    QString openFolder() const { return m_chain.isEmpty() ? QString() : m_chain.last(); }
    int openFolderRow() const { return static_cast<int>(m_chain.size()) - 1; }

    // Full path of the folder shown in row.
    QString folderAt(int row) const;

    // Asks to open path. Whether it is a folder this user may list and enter is found out on
    // siteIoPool(); then the folder opens, announcing openFolderChanged when the open folder
    // changes, or is refused and nothing changes. Either way openFinished follows. A newer
    // request supersedes one whose answer has not come back yet.
    void open(const QString& path);
    // Opens a drive at its root; a drive that is not ready changes nothing.
    void openDrive(const QString& root);
    // Opens the first of folders that can be opened, showing it inside the drive of root
    // (without root, inside the drive chosen when the answer comes back).
    void openFirstOf(const QStringList& folders, const std::optional<QString>& root = {});

    // True while the answer to the newest open request has not come back.
    bool openPending() const { return m_open.pending(); }

    // Reads the subfolders again; the open folder stays and nothing is announced.
    void refresh();

    // The root of the chosen drive: folders inside it are shown from there down, so the list
    // never leads off the drive. Applies to the open folder at once.
    void setDriveRoot(const QString& root);

signals:
    void openFolderChanged(const QString& folder);
    // The answer to the newest open request has been applied; opened is false when refused.
    void openFinished(bool opened);

protected:
    int leadingRows() const override { return static_cast<int>(m_chain.size()); }

private:
    void list(const QStringList& chain);
    void applyOpen(const QString& folder, const std::optional<QString>& root);

    QStringList m_chain;
    QString m_driveRoot;
    LatestRequest m_open;
};

// The folders from the root down to folder, each as a native path: "/", "/home", "/home/a".
// With the root of a drive that holds folder (a mount folder such as /media/usb), the chain
// starts there instead: "/media/usb", "/media/usb/a".
QStringList folderChain(const QString& folder, const QString& driveRoot = {});

// True when folder exists and this user may list it and enter it. May block on a slow share:
// called on siteIoPool() only.
bool canOpenFolder(const QString& folder);

} // namespace card
