#include "core/dialog/folder_commands.h"

#include "core/platform/path_join.h"

#include <QDir>

namespace card {

bool isSubfolderName(const QString& name)
{
    if (name.isEmpty() || name == u"." || name == u"..")
        return false;
    // '/' separates on every platform Qt runs on; '\' on Windows as well.
    return !name.contains(u'/') && !name.contains(pathSeparator()) && !name.contains(QChar(u'\0'));
}

bool createSubfolder(const QString& folder, const QString& name)
{
    if (!isSubfolderName(name))
        return false;
    return QDir().mkdir(joinPath(folder, name));
}

bool removeEmptyFolder(const QString& folder)
{
    // rmdir refuses a folder that holds anything; nothing here ever removes recursively.
    return !folder.isEmpty() && QDir().rmdir(folder);
}

} // namespace card
