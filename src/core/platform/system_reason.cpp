#include "core/platform/system_reason.h"

#include <QtGlobal>

#include <cerrno>

namespace card {

namespace {

// Error codes of the C library lie well below this on every system the product runs on.
constexpr int kHighestCode = 256;

const QString kNamesFolder = QStringLiteral("這個名稱是資料夾，不是檔案");

} // namespace

QString systemReasonText(int code)
{
    switch (code) {
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("找不到檔案或資料夾");
    case EACCES:
    case EPERM:
        return QStringLiteral("沒有權限");
    case EROFS:
        return QStringLiteral("唯讀的檔案系統");
    case EISDIR:
        return kNamesFolder;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return QStringLiteral("磁碟已滿");
    default:
        return QStringLiteral("系統錯誤（代碼 %1）").arg(code);
    }
}

QString systemReasonText(const QString& systemWords)
{
    // The file classes' own words for a name that is a folder, before any system call.
    if (systemWords == u"Filename refers to a directory")
        return kNamesFolder;
    for (int code = 1; code < kHighestCode; ++code) {
        if (qt_error_string(code) == systemWords)
            return systemReasonText(code);
    }
    return systemWords;
}

} // namespace card
