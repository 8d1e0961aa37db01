// The folder list Dir1: the folders from the root down to the open folder, then the open
// folder's subfolders, read lazily.
#pragma once

#include "core/dialog/scanned_list_model.h"

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

    // Opens path, announcing openFolderChanged when the open folder changes. A path that is
    // not a folder this user may list and enter is refused: false, and nothing changes.
    bool open(const QString& path);

    // Reads the subfolders again; the open folder stays and nothing is announced.
    void refresh();

    // The root of the chosen drive: folders inside it are shown from there down, so the list
    // never leads off the drive.
    void setDriveRoot(const QString& root) { m_driveRoot = root; }
    // Opens a drive at its root; a drive that is not ready changes nothing.
    bool openDrive(const QString& root);

signals:
    void openFolderChanged(const QString& folder);

protected:
    int leadingRows() const override { return static_cast<int>(m_chain.size()); }

private:
    void list(const QStringList& chain);

    QStringList m_chain;
    QString m_driveRoot;
};

// The folders from the root down to folder, each as a native path: "/", "/home", "/home/a".
// With the root of a drive that holds folder (a mount folder such as /media/usb), the chain
// starts there instead: "/media/usb", "/media/usb/a".
QStringList folderChain(const QString& folder, const QString& driveRoot = {});

// True when folder exists and this user may list it and enter it.
bool canOpenFolder(const QString& folder);

} // namespace card
