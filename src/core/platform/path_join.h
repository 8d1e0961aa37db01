// Joining a folder and a name the way the product always does: folder as stored, one separator.
#pragma once

#include <QString>

namespace card {

// The separator placed between a folder and a name: '\' on Windows, '/' elsewhere.
QChar pathSeparator();

// folder + one separator + name. The folder is used exactly as stored: a trailing separator
// gives two in a row, and an empty folder gives a path that begins with the separator. A
// Windows folder that a mapping covers is read under its local folder (see site_folders.h).
QString joinPath(const QString& folder, const QString& name);

} // namespace card
