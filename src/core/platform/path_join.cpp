#include "core/platform/path_join.h"

#include "core/platform/site_folders.h"

namespace card {

QChar pathSeparator()
{
#ifdef Q_OS_WIN
    return u'\\';
#else
    return u'/';
#endif
}

QString joinPath(const QString& folder, const QString& name)
{
    const QString local = localFolder(folder);
    QString path;
    path.reserve(local.size() + 1 + name.size());
    path += local;
    path += pathSeparator();
    path += name;
    return path;
}

} // namespace card
