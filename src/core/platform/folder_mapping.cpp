#include "core/platform/folder_mapping.h"

namespace card {

namespace {

bool isSeparator(QChar c)
{
    return c == u'\\' || c == u'/';
}

bool hasDriveLetter(const QString& folder)
{
    return folder.size() >= 2 && folder[0].isLetter() && folder[0].unicode() < 128 &&
           folder[1] == u':' && (folder.size() == 2 || isSeparator(folder[2]));
}

bool isNetworkPath(const QString& folder)
{
    return folder.size() > 2 && isSeparator(folder[0]) && isSeparator(folder[1]) &&
           !isSeparator(folder[2]);
}

// The mapping's Windows folder as a prefix: '/' for every '\', no trailing separator.
QString prefixOf(const QString& windowsFolder)
{
    QString prefix = windowsFolder;
    prefix.replace(u'\\', u'/');
    while (prefix.endsWith(u'/') && prefix.size() > 2)
        prefix.chop(1);
    return prefix;
}

// Whether the prefix covers path (both written with '/'): whole components only.
bool covers(const QString& prefix, const QString& path)
{
    if (!path.startsWith(prefix, Qt::CaseInsensitive))
        return false;
    return path.size() == prefix.size() || path[prefix.size()] == u'/';
}

} // namespace

bool isWindowsFolder(const QString& folder)
{
    return hasDriveLetter(folder) || isNetworkPath(folder);
}

std::optional<FolderMapping> mappingOf(const QString& folder, const QList<FolderMapping>& mappings)
{
    if (!isWindowsFolder(folder))
        return std::nullopt;
    QString path = folder;
    path.replace(u'\\', u'/');
    std::optional<FolderMapping> longest;
    qsizetype longestSize = -1;
    for (const FolderMapping& mapping : mappings) {
        const QString prefix = prefixOf(mapping.windowsFolder);
        if (isWindowsFolder(prefix) && prefix.size() > longestSize && covers(prefix, path)) {
            longest = mapping;
            longestSize = prefix.size();
        }
    }
    return longest;
}

std::optional<QString> mappedFolder(const QString& folder, const QList<FolderMapping>& mappings)
{
    if (!isWindowsFolder(folder))
        return folder;
    const std::optional<FolderMapping> mapping = mappingOf(folder, mappings);
    if (!mapping)
        return std::nullopt;
    QString local = mapping->localFolder;
    while (local.size() > 1 && local.endsWith(u'/'))
        local.chop(1);
    QString rest = folder.mid(prefixOf(mapping->windowsFolder).size());
    rest.replace(u'\\', u'/');
    return local + rest;
}

QString windowsFilePath(const QString& folder, const QString& name)
{
    return folder + u'\\' + name;
}

} // namespace card
