#include "core/platform/save_folder.h"

#include "core/platform/user_settings.h"

#include <QFileInfo>

namespace card {

namespace {

QString settingKey(const QString& extension)
{
    return QStringLiteral("saveFolders/") + extension.toLower();
}

} // namespace

QString proposedSaveFolder(const QString& lastUsed, const QString& documents, const QString& home)
{
    for (const QString& folder : {lastUsed, documents}) {
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            return folder;
    }
    return home;
}

QString lastSaveFolder(const QString& extension)
{
    return userSettings().value(settingKey(extension)).toString();
}

void rememberSaveFolder(const QString& extension, const QString& folder)
{
    userSettings().setValue(settingKey(extension), folder);
}

} // namespace card
