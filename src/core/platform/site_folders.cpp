#include "core/platform/site_folders.h"

#include "core/platform/file_access.h"
#include "core/platform/path_join.h"

#include <QDeadlineTimer>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>

#include <map>

namespace card {

namespace {

// How long a folder that could not be found is taken as not there before it is looked up
// again: a share mounted later is then read without a restart.
constexpr int kMissingFolderRetryMs = 5000;

struct FoundFolder {
    QString local;
    QDeadlineTimer lookAgain; // forever for a folder that was found
};

struct Registry {
    QMutex lock;
    std::map<MappingSource, QList<FolderMapping>> bySource;
    QHash<QString, FoundFolder> found;
};

Registry& registry()
{
    static Registry instance;
    return instance;
}

QList<FolderMapping> mappingsLocked(const Registry& r)
{
    QList<FolderMapping> all;
    for (const auto& [source, mappings] : r.bySource)
        all += mappings;
    return all;
}

// A Windows folder is read under a local one only where drive letters and network paths are
// not paths of the machine itself.
bool needsMapping(const QString& folder)
{
#ifdef Q_OS_WIN
    Q_UNUSED(folder);
    return false;
#else
    return isWindowsFolder(folder);
#endif
}

// The subfolder of parent named name without regard to case; only folders are listed.
QString subfolderIgnoringCase(const QString& parent, const QString& name)
{
    QString found;
    fileAccess().listFolder(parent, [&](const QString& entry, bool isFolder) {
        if (isFolder && entry.compare(name, Qt::CaseInsensitive) == 0)
            found = entry;
        return found.isEmpty();
    });
    return found;
}

// root + rest with each folder of rest found as it is written on disk. A folder is listed only
// when the written case of one of its subfolders is not there, so the last folder of rest (the
// photo folder, say) is never listed.
std::optional<QString> withFoundCase(const QString& root, const QString& rest)
{
    QString path = root;
    for (const QString& part : rest.split(u'/')) {
        const QString written = path + u'/' + part;
        if (part.isEmpty() || fileAccess().canEnterFolder(written)) {
            path = written;
            continue;
        }
        const QString onDisk = subfolderIgnoringCase(path, part);
        if (onDisk.isEmpty())
            return std::nullopt;
        path += u'/' + onDisk;
    }
    return path;
}

QString lookUpLocalFolder(const QString& folder, const QList<FolderMapping>& mappings,
                          QDeadlineTimer& lookAgain)
{
    const std::optional<FolderMapping> mapping = mappingOf(folder, mappings);
    if (!mapping)
        return folder; // no mapping: read as written, and fails as written
    const QString mapped = mappedFolder(folder, {*mapping}).value_or(folder);
    const QString root = mappedFolder(mapping->windowsFolder, {*mapping}).value_or(folder);
    if (fileAccess().canEnterFolder(mapped) || !mapped.startsWith(root + u'/'))
        return mapped;
    if (const std::optional<QString> found = withFoundCase(root, mapped.mid(root.size() + 1)))
        return *found;
    lookAgain = QDeadlineTimer(kMissingFolderRetryMs);
    return mapped;
}

} // namespace

void setFolderMappings(MappingSource source, const QList<FolderMapping>& mappings)
{
    Registry& r = registry();
    const QMutexLocker locker(&r.lock);
    if (r.bySource[source] == mappings)
        return;
    r.bySource[source] = mappings;
    r.found.clear();
}

QList<FolderMapping> folderMappings()
{
    Registry& r = registry();
    const QMutexLocker locker(&r.lock);
    return mappingsLocked(r);
}

QString localFolder(const QString& folder)
{
    if (!needsMapping(folder))
        return folder;
    Registry& r = registry();
    QList<FolderMapping> mappings;
    {
        const QMutexLocker locker(&r.lock);
        const auto known = r.found.constFind(folder);
        if (known != r.found.cend() && !known->lookAgain.hasExpired())
            return known->local;
        mappings = mappingsLocked(r);
    }
    // Looked up without the lock: a share that answers slowly holds up no other reader.
    FoundFolder found{{}, QDeadlineTimer(QDeadlineTimer::Forever)};
    found.local = lookUpLocalFolder(folder, mappings, found.lookAgain);
    const QMutexLocker locker(&r.lock);
    if (mappingsLocked(r) == mappings)
        r.found.insert(folder, found);
    return found.local;
}

QStringList unmappedWindowsFolders(const QStringList& folders)
{
    const QList<FolderMapping> mappings = folderMappings();
    QStringList unmapped;
    for (const QString& folder : folders) {
        if (needsMapping(folder) && !mappedFolder(folder, mappings) && !unmapped.contains(folder))
            unmapped << folder;
    }
    return unmapped;
}

QString siteFileText(const QString& folder, const QString& name)
{
    const QString local = joinPath(folder, name);
    if (!needsMapping(folder) || !mappedFolder(folder, folderMappings()))
        return local;
    return windowsFilePath(folder, name) + QStringLiteral("（本機：") + local + u'）';
}

} // namespace card
