#include "core/platform/safe_write.h"

#include "core/platform/file_access.h"
#include "core/platform/site_folders.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace card {

namespace {

// Said of a site file that could not be read; the seam keeps no system words.
QString sourceReadReason(FileReadStatus status)
{
    switch (status) {
    case FileReadStatus::Ok:
        break;
    case FileReadStatus::CannotOpen:
        return QStringLiteral("無法開啟");
    case FileReadStatus::ReadError:
        return QStringLiteral("讀取中斷");
    case FileReadStatus::TooLarge:
        return QStringLiteral("檔案過大");
    }
    return {};
}

// The path with its symbolic links resolved; a path that does not exist (yet) keeps its
// cleaned absolute form.
QString resolvedPath(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

bool isInside(const QString& path, const QString& folder)
{
    if (path == folder)
        return true;
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    return path.startsWith(prefix);
}

// Where the bytes will land: an existing target (a symbolic link, say) as resolved, else the
// resolved folder with the file's name.
QString landingPath(const QString& target)
{
    const QFileInfo info(target);
    if (info.exists())
        return resolvedPath(target);
    return resolvedPath(info.absolutePath()) + u'/' + info.fileName();
}

} // namespace

QString protectedPlaceHolding(const QString& target, const QStringList& protectedPlaces)
{
    const QString landing = landingPath(target);
    const QString named =
        resolvedPath(QFileInfo(target).absolutePath()) + u'/' + QFileInfo(target).fileName();
    for (const QString& folder : protectedPlaces) {
        if (folder.isEmpty())
            continue;
        const QString resolved = resolvedPath(localFolder(folder));
        if (isInside(landing, resolved) || isInside(named, resolved))
            return folder;
    }
    return {};
}

SafeWriteResult writeFileSafely(const QString& target, const QStringList& protectedPlaces,
                                const std::function<bool(QIODevice& file)>& write)
{
    const QString place = protectedPlaceHolding(target, protectedPlaces);
    if (!place.isEmpty())
        return {SafeWriteStatus::Refused, target, place};
    const bool existed = QFileInfo::exists(target);
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return {SafeWriteStatus::CannotCreate, target, file.errorString(), existed};
    if (!write(file) || file.error() != QFileDevice::NoError) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return {SafeWriteStatus::WriteFailed, target, reason, existed};
    }
    if (!file.commit())
        return {SafeWriteStatus::CommitFailed, target, file.errorString(), existed};
    return {SafeWriteStatus::Ok, target, {}, existed};
}

SafeWriteResult copyFileSafely(const QString& source, const QString& target,
                               const QStringList& protectedPlaces, qint64 maxSourceBytes)
{
    // The source is a site file: read whole through the site seam before the target is touched,
    // so a read that fails partway is the source's fault and leaves no trace at the target.
    QByteArray bytes;
    const FileReadStatus read = fileAccess().readSnapshot(source, maxSourceBytes, bytes);
    if (read != FileReadStatus::Ok)
        return {SafeWriteStatus::SourceUnreadable, source, sourceReadReason(read)};
    return writeFileSafely(target, protectedPlaces, [&bytes](QIODevice& output) {
        return output.write(bytes) == bytes.size();
    });
}

} // namespace card
