#include "core/platform/safe_write.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace card {

namespace {

constexpr qint64 kCopyChunkBytes = 1024 * 1024;

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

QString protectedFolderHolding(const QString& target, const QStringList& protectedFolders)
{
    const QString landing = landingPath(target);
    const QString named =
        resolvedPath(QFileInfo(target).absolutePath()) + u'/' + QFileInfo(target).fileName();
    for (const QString& folder : protectedFolders) {
        if (folder.isEmpty())
            continue;
        const QString resolved = resolvedPath(folder);
        if (isInside(landing, resolved) || isInside(named, resolved))
            return folder;
    }
    return {};
}

SafeWriteResult writeFileSafely(const QString& target, const QStringList& protectedFolders,
                                const std::function<bool(QIODevice& file)>& write)
{
    const QString folder = protectedFolderHolding(target, protectedFolders);
    if (!folder.isEmpty())
        return {SafeWriteStatus::Refused, target, folder};
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return {SafeWriteStatus::CannotCreate, target, file.errorString()};
    if (!write(file) || file.error() != QFileDevice::NoError) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return {SafeWriteStatus::WriteFailed, target, reason};
    }
    if (!file.commit())
        return {SafeWriteStatus::CommitFailed, target, file.errorString()};
    return {SafeWriteStatus::Ok, target, {}};
}

SafeWriteResult copyFileSafely(const QString& source, const QString& target,
                               const QStringList& protectedFolders)
{
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly))
        return {SafeWriteStatus::SourceUnreadable, source, input.errorString()};
    bool readFailed = false;
    SafeWriteResult result =
        writeFileSafely(target, protectedFolders, [&input, &readFailed](QIODevice& output) {
            QByteArray chunk;
            for (;;) {
                chunk = input.read(kCopyChunkBytes);
                if (chunk.isEmpty()) {
                    readFailed = !input.atEnd() || input.error() != QFileDevice::NoError;
                    return !readFailed;
                }
                if (output.write(chunk) != chunk.size())
                    return false;
            }
        });
    if (readFailed)
        return {SafeWriteStatus::SourceUnreadable, source, input.errorString()};
    return result;
}

} // namespace card
