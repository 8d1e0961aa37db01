// The mounted file systems as the mount table lists them.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace card {

// One mounted file system as the platform reports it.
struct MountedVolume {
    QString rootPath;
    QByteArray device;
    QByteArray fileSystemType;
    bool isFolder = true; // false for a single file mounted over another (container set-ups)
};

// The volumes of a mount table (/proc/self/mounts): device, mount folder and file-system type
// of each line, the folder's \ooo escapes undone. Nothing is looked at on disk.
QList<MountedVolume> mountTableVolumes(const QByteArray& table);

// The volume among volumes whose folder holds path with the longest folder; nullptr when none.
const MountedVolume* volumeHolding(const QList<MountedVolume>& volumes, const QString& path);

} // namespace card
