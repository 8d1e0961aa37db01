// The folder a save dialog opens in, so that accepting the proposed name writes where a folder
// exists.
#pragma once

#include <QString>

namespace card {

// lastUsed when it is an existing folder, else documents when it is one, else home.
QString proposedSaveFolder(const QString& lastUsed, const QString& documents, const QString& home);

// The folder a file ending in extension was last saved to, from the settings; empty when none.
QString lastSaveFolder(const QString& extension);

// Keeps folder as the last one used for files ending in extension.
void rememberSaveFolder(const QString& extension, const QString& folder);

} // namespace card
