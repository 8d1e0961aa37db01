#include "core/platform/saved_mappings.h"

#include "core/platform/share_mounts.h"
#include "core/platform/site_folders.h"
#include "core/platform/user_settings.h"

namespace card {

namespace {

const QString kGroup = QStringLiteral("folderMappings");
const QString kWindowsKey = QStringLiteral("windows");
const QString kLocalKey = QStringLiteral("local");

} // namespace

QList<FolderMapping> readSavedMappings()
{
    QSettings settings = userSettings();
    QList<FolderMapping> mappings;
    const int count = settings.beginReadArray(kGroup);
    for (int i = 0; i < count; ++i) {
        settings.setArrayIndex(i);
        const FolderMapping mapping{settings.value(kWindowsKey).toString(),
                                    settings.value(kLocalKey).toString(), MappingSource::Saved};
        if (isWindowsFolder(mapping.windowsFolder) && !mapping.localFolder.isEmpty())
            mappings << mapping;
    }
    settings.endArray();
    return mappings;
}

void saveMappings(const QList<FolderMapping>& mappings)
{
    QSettings settings = userSettings();
    settings.beginWriteArray(kGroup, int(mappings.size()));
    for (int i = 0; i < mappings.size(); ++i) {
        settings.setArrayIndex(i);
        settings.setValue(kWindowsKey, mappings[i].windowsFolder);
        settings.setValue(kLocalKey, mappings[i].localFolder);
    }
    settings.endArray();
    settings.sync();
    setFolderMappings(MappingSource::Saved, readSavedMappings());
}

void saveMapping(const QString& windowsFolder, const QString& localFolder)
{
    QList<FolderMapping> mappings = readSavedMappings();
    mappings.removeIf([&](const FolderMapping& kept) {
        return kept.windowsFolder.compare(windowsFolder, Qt::CaseInsensitive) == 0;
    });
    mappings << FolderMapping{windowsFolder, localFolder, MappingSource::Saved};
    saveMappings(mappings);
}

void useFolderMappings(const QList<FolderMapping>& commandLine)
{
    setFolderMappings(MappingSource::CommandLine, commandLine);
    setFolderMappings(MappingSource::Saved, readSavedMappings());
    useMountedShares();
}

} // namespace card
