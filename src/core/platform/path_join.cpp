#include "core/platform/path_join.h"

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
    QString path;
    path.reserve(folder.size() + 1 + name.size());
    path += folder;
    path += pathSeparator();
    path += name;
    return path;
}

} // namespace card
