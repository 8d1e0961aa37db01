// The folder buttons of file_select: create a subfolder of the open folder, remove an empty one.
#pragma once

#include "core/dialog/dialog_texts.h"

#include <QString>

namespace card {

// A name that can only make a subfolder of the open folder: no separator, not "." or "..".
bool isSubfolderName(const QString& name);

// Creates folder/name, without parents. False when the name is refused or creation fails,
// for instance because a folder or file of that name exists.
bool createSubfolder(const QString& folder, const QString& name);

// Removes folder when it is empty; a folder holding anything is never touched.
bool removeEmptyFolder(const QString& folder);

} // namespace card
