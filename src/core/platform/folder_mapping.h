// Folders written the Windows way (a drive letter or a network path) read under local folders.
#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace card {

// Where a mapping was named, in the order mappings are looked at.
enum class MappingSource {
    CommandLine, // --map
    Saved,       // the operator's own, kept in the user's settings
    Mounted,     // an SMB share mounted on this machine
    Desktop,     // a network folder the desktop has mounted
};

// A Windows folder (D:\CardData, \\CARDSRV01\Card) and the local folder that stands for it.
struct FolderMapping {
    QString windowsFolder;
    QString localFolder;
    MappingSource source = MappingSource::CommandLine;
    friend bool operator==(const FolderMapping&, const FolderMapping&) = default;
};

// Whether folder begins with a drive letter (X:\ or X:/) or a network path (\\server\share).
bool isWindowsFolder(const QString& folder);

// The local folder that stands for a Windows folder: the longest matching mapping's local folder
// (prefixes compared without regard to case, '\' and '/' alike) with the rest of the path
// appended, every '\' written as '/'. Nothing when no mapping covers a Windows folder; a folder
// that is not a Windows folder is returned as it is.
std::optional<QString> mappedFolder(const QString& folder, const QList<FolderMapping>& mappings);

// The mapping that maps folder; nothing for a local folder or one no mapping covers.
std::optional<FolderMapping> mappingOf(const QString& folder, const QList<FolderMapping>& mappings);

// folder + name the way Windows writes it: one '\' between them.
QString windowsFilePath(const QString& folder, const QString& name);

} // namespace card
