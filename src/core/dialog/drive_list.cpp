#include "core/dialog/drive_list.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace card {

namespace {

const QString kRoot = QStringLiteral("/");

#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity kPathCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity kPathCase = Qt::CaseSensitive;
#endif

#ifndef Q_OS_WIN
// Reads the mount table itself: asking every mount about itself, as QStorageInfo does, would
// block the dialog on a network share that no longer answers. Only the mounts that can be
// drives are looked at on disk.
QList<MountedVolume> mountedVolumes()
{
    QFile table(QStringLiteral("/proc/self/mounts"));
    if (!table.open(QIODevice::ReadOnly))
        return {{kRoot, QByteArray(), QByteArray(), true}};
    QList<MountedVolume> volumes;
    for (MountedVolume volume : mountTableVolumes(table.readAll())) {
        if (!isUserDrive(volume))
            continue;
        volume.isFolder = QFileInfo(volume.rootPath).isDir();
        volumes.append(volume);
    }
    return volumes;
}
#endif

// True when path lies in the folder root, or is it.
bool holds(const QString& root, const QString& path)
{
    if (!path.startsWith(root, kPathCase))
        return false;
    if (path.size() == root.size() || root.endsWith(u'/') || root.endsWith(u'\\'))
        return true;
    const QChar next = path.at(root.size());
    return next == u'/' || next == u'\\';
}

} // namespace

bool isUserDrive(const MountedVolume& volume)
{
    if (volume.rootPath == kRoot)
        return true;
    if (!volume.isFolder || !volume.device.startsWith("/dev/"))
        return false;
    return volume.fileSystemType != "squashfs";
}

QList<Drive> drivesOf(const QList<MountedVolume>& volumes)
{
    QList<Drive> drives;
    for (const MountedVolume& volume : volumes) {
        if (!isUserDrive(volume))
            continue;
        const QString root = QDir::toNativeSeparators(volume.rootPath);
        const bool seen = std::any_of(drives.cbegin(), drives.cend(),
                                      [&root](const Drive& drive) { return drive.root == root; });
        if (!seen)
            drives.append({root, root});
    }
    std::sort(drives.begin(), drives.end(), [](const Drive& a, const Drive& b) {
        if ((a.root == kRoot) != (b.root == kRoot))
            return a.root == kRoot;
        return a.root < b.root;
    });
    return drives;
}

QList<Drive> machineDrives()
{
#ifdef Q_OS_WIN
    QList<Drive> drives;
    const QFileInfoList roots = QDir::drives();
    for (const QFileInfo& root : roots) {
        const QString native = QDir::toNativeSeparators(root.absoluteFilePath());
        drives.append({native.chopped(1).toLower(), native});
    }
    return drives;
#else
    return drivesOf(mountedVolumes());
#endif
}

qsizetype driveIndexOf(const QList<Drive>& drives, const QString& path)
{
    qsizetype best = -1;
    for (qsizetype i = 0; i < drives.size(); ++i) {
        const QString& root = drives.at(i).root;
        if (holds(root, path) && (best < 0 || root.size() > drives.at(best).root.size()))
            best = i;
    }
    return best;
}

} // namespace card
