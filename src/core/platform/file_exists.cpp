#include "core/platform/file_exists.h"

#include "core/platform/file_access.h"
#include "core/platform/system_files.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace card {

namespace {

#ifndef Q_OS_WIN
bool isHiddenName(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    const QStringView name = QStringView(path).mid(slash + 1);
    return name.startsWith(u'.');
}
#endif

} // namespace

bool systemFileExists(const QString& path)
{
    if (path.isEmpty() || path.contains(QChar(u'\0')))
        return false;
#ifdef Q_OS_WIN
    const DWORD attributes = GetFileAttributesW(reinterpret_cast<LPCWSTR>(path.utf16()));
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    constexpr DWORD excluded =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return (attributes & excluded) == 0;
#else
    if (isHiddenName(path))
        return false;
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return false;
    return S_ISREG(status.st_mode);
#endif
}

bool fileExists(const QString& path)
{
    return fileAccess().exists(path);
}

} // namespace card
