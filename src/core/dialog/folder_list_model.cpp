#include "core/dialog/folder_list_model.h"

#include "core/platform/file_access.h"
#include "core/platform/path_join.h"
#include "core/platform/site_io_task.h"

#include <QDir>
#include <QFileInfo>

#include <optional>

namespace card {

namespace {

// The folder of a chain entry, last part only; a root shows whole.
QString shownName(const QString& folder, bool isRoot)
{
    if (isRoot)
        return folder;
    return folder.mid(folder.lastIndexOf(pathSeparator()) + 1);
}

// The root of a clean absolute path, with its closing separator: "/", "C:/", "//server/share/".
QString rootOf(const QString& clean)
{
#ifdef Q_OS_WIN
    if (clean.size() >= 2 && clean.at(1) == u':')
        return clean.left(2) + u'/';
    if (clean.startsWith(QLatin1String("//"))) {
        const qsizetype share = clean.indexOf(u'/', 2);
        const qsizetype end = share < 0 ? -1 : clean.indexOf(u'/', share + 1);
        return end < 0 ? clean + u'/' : clean.left(end + 1);
    }
#else
    Q_UNUSED(clean);
#endif
    return QStringLiteral("/");
}

// The drive root as a clean path with its closing separator, when folder lies inside it.
std::optional<QString> driveRootOf(const QString& clean, const QString& driveRoot)
{
    if (driveRoot.isEmpty())
        return std::nullopt;
    QString root = QDir::cleanPath(QFileInfo(driveRoot).absoluteFilePath());
    if (!root.endsWith(u'/'))
        root += u'/';
    if (!(clean + u'/').startsWith(root))
        return std::nullopt;
    return root;
}

} // namespace

QStringList folderChain(const QString& folder, const QString& driveRoot)
{
    const QString clean = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    const QString fileSystemRoot = rootOf(clean);
    const QString root = driveRootOf(clean, driveRoot).value_or(fileSystemRoot);
    // A mount folder is shown as the drive list names it, without its closing separator.
    QStringList chain{QDir::toNativeSeparators(root == fileSystemRoot ? root : root.chopped(1))};
    QString path = root;
    const QStringList parts = clean.mid(root.size()).split(u'/', Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        path += part;
        chain.append(QDir::toNativeSeparators(path));
        path += u'/';
    }
    return chain;
}

bool canOpenFolder(const QString& folder)
{
    return fileAccess().canEnterFolder(folder);
}

FolderListModel::FolderListModel(QObject* parent)
    : ScannedListModel(parent)
{}

QVariant FolderListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const int row = index.row();
    const bool onChain = row < leadingRows();
    switch (role) {
    case Qt::DisplayRole:
        return onChain ? shownName(m_chain.at(row), row == 0)
                       : scannedNames().at(row - leadingRows());
    case DepthRole:
        return onChain ? row : leadingRows();
    case OnChainRole:
        return onChain;
    default:
        return {};
    }
}

QString FolderListModel::folderAt(int row) const
{
    if (row < 0 || row >= rowCount())
        return {};
    if (row < leadingRows())
        return m_chain.at(row);
    return joinPath(openFolder(), scannedNames().at(row - leadingRows()));
}

void FolderListModel::open(const QString& path)
{
    openFirstOf({path});
}

void FolderListModel::openDrive(const QString& root)
{
    openFirstOf({root}, root);
}

void FolderListModel::openFirstOf(const QStringList& folders, const std::optional<QString>& root)
{
    const LatestRequest::Ticket request = m_open.start();
    auto firstOpenable = [folders] {
        for (const QString& folder : folders) {
            if (!folder.isEmpty() && canOpenFolder(folder))
                return folder;
        }
        return QString();
    };
    runOnSiteIo(this, std::move(firstOpenable), [this, request, root](const QString& folder) {
        if (m_open.finish(request))
            applyOpen(folder, root);
    });
}

void FolderListModel::applyOpen(const QString& folder, const std::optional<QString>& root)
{
    if (folder.isEmpty()) {
        emit openFinished(false);
        return;
    }
    if (root)
        m_driveRoot = *root;
    const QStringList chain = folderChain(folder, m_driveRoot);
    const bool changed = chain.last() != openFolder();
    list(chain);
    if (changed)
        emit openFolderChanged(openFolder());
    emit openFinished(true);
}

void FolderListModel::setDriveRoot(const QString& root)
{
    m_driveRoot = root;
    if (m_chain.isEmpty())
        return;
    // Only the rows above the subfolders change; the subfolders are not read again.
    const QStringList chain = folderChain(openFolder(), m_driveRoot);
    if (chain == m_chain)
        return;
    beginResetModel();
    m_chain = chain;
    endResetModel();
}

void FolderListModel::refresh()
{
    list(m_chain);
}

void FolderListModel::list(const QStringList& chain)
{
    beginResetModel();
    m_chain = chain;
    restartScan(openFolder(), EntryKind::Folders);
    endResetModel();
}

} // namespace card
