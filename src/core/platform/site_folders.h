// The folder mappings every reader of the site uses, and the local folder each site folder is
// read under. Shared by the whole program: the command line, the settings and the mounts found
// fill it, and every path built from a site folder goes through it.
#pragma once

#include "core/platform/folder_mapping.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace card {

// Replaces the mappings of one source; the others stay.
void setFolderMappings(MappingSource source, const QList<FolderMapping>& mappings);

// Every mapping in use: the command line's first, then the saved ones, then the mounts'.
QList<FolderMapping> folderMappings();

// The folder a site folder is read under: a mapped Windows folder as its local folder, each
// of its folders found again without regard to case where the written case does not exist; any
// other folder exactly as written.
QString localFolder(const QString& folder);

// The Windows folders among folders that no mapping covers (empty ones skipped, each once).
QStringList unmappedWindowsFolders(const QStringList& folders);

// A site file named for people: folder + name as written, and for a mapped folder the path it
// was read at as well: "D:\Rec\1.txt（本機：/mnt/rec/1.txt）".
QString siteFileText(const QString& folder, const QString& name);

} // namespace card
