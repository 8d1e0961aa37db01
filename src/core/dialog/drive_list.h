// The drives of the drive list: drive letters on Windows, the mounted disks elsewhere.
#pragma once

#include "core/platform/mount_table.h"

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
