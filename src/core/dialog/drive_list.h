// The drives of the drive list: drive letters on Windows, the mounted disks elsewhere.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace card {

struct Drive {
    QString name; // as the drive list shows it
    // The drive's root folder, which is also its current folder: / and C:\ end in their
    // separator, a mount folder such as /media/ann/KINGSTON does not.
    QString root;
};

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

// The root, and the folders where real disks and removable media are mounted; not pseudo file
// systems (proc, sysfs, tmpfs, ...) nor read-only package images.
bool isUserDrive(const MountedVolume& volume);

// The drives among the volumes, the root first, then by mount folder.
QList<Drive> drivesOf(const QList<MountedVolume>& volumes);

// The drives of this machine.
QList<Drive> machineDrives();

// Index of the drive with which path begins (the longest root that holds it), or -1.
qsizetype driveIndexOf(const QList<Drive>& drives, const QString& path);

} // namespace card
