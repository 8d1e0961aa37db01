#include "core/parameters/recent_parameter_files.h"

#include "core/platform/user_settings.h"

#include <QFileInfo>

namespace card {

namespace {

const QString kKey = QStringLiteral("recentParameterFiles");

} // namespace

QStringList recentParameterFiles()
{
    return userSettings().value(kKey).toStringList().mid(0, kRecentParameterFiles);
}

void rememberParameterFile(const QString& path)
{
    // A file given relative to the folder the program started in is kept by its whole path.
    const QString file = QFileInfo(path).absoluteFilePath();
    QStringList files = recentParameterFiles();
    files.removeAll(file);
    files.prepend(file);
    userSettings().setValue(kKey, files.mid(0, kRecentParameterFiles));
}

} // namespace card
