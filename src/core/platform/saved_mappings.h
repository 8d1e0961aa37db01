// The operator's own folder mappings, kept in the user's settings so a mapping named once is
// used next time.
#pragma once

#include "core/platform/folder_mapping.h"

#include <QList>

namespace card {

QList<FolderMapping> readSavedMappings();

// Keeps mappings as the operator's own (replacing those kept before) and puts them in use.
void saveMappings(const QList<FolderMapping>& mappings);

// Adds one mapping of the operator's own, replacing one for the same Windows folder.
void saveMapping(const QString& windowsFolder, const QString& localFolder);

// Every mapping this program uses: the command line's, the saved ones and the mounts found now.
void useFolderMappings(const QList<FolderMapping>& commandLine);

} // namespace card
