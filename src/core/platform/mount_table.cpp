#include "core/platform/mount_table.h"

#include <QFile>

namespace card {

namespace {

// The mount table writes blanks and other special characters in a path as \ooo (octal).
QString unescapeMountPath(const QByteArray& field)
{
    QByteArray path;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok && code < 256) {
                path += static_cast<char>(code);
                i += 3;
                continue;
            }
        }
        path += field[i];
    }
    return QFile::decodeName(path);
}

bool folderHolds(const QString& folder, const QString& path)
{
    if (folder == QStringLiteral("/"))
        return path.startsWith(folder);
    return path == folder || path.startsWith(folder + u'/');
}

} // namespace

QList<MountedVolume> mountTableVolumes(const QByteArray& table)
{
    QList<MountedVolume> volumes;
    const QList<QByteArray> lines = table.split('\n');
    for (const QByteArray& line : lines) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() >= 3)
            volumes.append({unescapeMountPath(fields[1]), fields[0], fields[2], true});
    }
    return volumes;
}

const MountedVolume* volumeHolding(const QList<MountedVolume>& volumes, const QString& path)
{
    const MountedVolume* holder = nullptr;
    for (const MountedVolume& volume : volumes) {
        if (folderHolds(volume.rootPath, path) &&
            (!holder || volume.rootPath.size() > holder->rootPath.size()))
            holder = &volume;
    }
    return holder;
}

} // namespace card
