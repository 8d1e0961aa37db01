#include "core/platform/file_bytes.h"

#include "core/platform/file_access.h"
#include "core/platform/system_files.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QStorageInfo>

#include <algorithm>

namespace card {

namespace {

// Reads up to size bytes from the file's start; fewer when it shrinks meanwhile or a read
// fails, which keeps what was read before.
FileReadStatus readInto(QFile& file, qint64 size, QByteArray& bytes)
{
    bytes.resize(size);
    qint64 filled = 0;
    while (filled < size) {
        const qint64 got = file.read(bytes.data() + filled, size - filled);
        if (got < 0) {
            bytes.truncate(filled);
            return FileReadStatus::ReadError;
        }
        if (got == 0)
            break;
        filled += got;
    }
    bytes.truncate(filled);
    return FileReadStatus::Ok;
}

// File systems whose pages are read from a disk of this machine. A network share's mapped page
// that cannot be read kills the program instead of failing the read.
bool isOnLocalDisk(const QString& path)
{
    static const QStringList local = {
        QStringLiteral("ext2"),  QStringLiteral("ext3"),  QStringLiteral("ext4"),
        QStringLiteral("xfs"),   QStringLiteral("btrfs"), QStringLiteral("f2fs"),
        QStringLiteral("zfs"),   QStringLiteral("tmpfs"), QStringLiteral("overlay"),
        QStringLiteral("ntfs"),  QStringLiteral("ntfs3"), QStringLiteral("vfat"),
        QStringLiteral("exfat"), QStringLiteral("NTFS"),  QStringLiteral("apfs")};
    static QMutex lock;
    static QHash<QString, bool> known; // per folder: the day files of a site share one
    const QString folder = QFileInfo(path).path();
    const QMutexLocker locked(&lock);
    const auto found = known.constFind(folder);
    if (found != known.cend())
        return *found;
    const bool onDisk = local.contains(QString::fromLatin1(QStorageInfo(folder).fileSystemType()));
    known.insert(folder, onDisk);
    return onDisk;
}

} // namespace

FileReadStatus systemReadFileSnapshot(const QString& path, qint64 maxSize, QByteArray& bytes)
{
    bytes.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return FileReadStatus::CannotOpen;
    const qint64 size = file.size();
    if (size > maxSize)
        return FileReadStatus::TooLarge;
    return readInto(file, size, bytes);
}

FileReadStatus systemReadFileStart(const QString& path, qint64 maxSize, QByteArray& bytes,
                                   bool& goesOn)
{
    bytes.clear();
    goesOn = false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return FileReadStatus::CannotOpen;
    const qint64 size = file.size();
    goesOn = size > maxSize;
    return readInto(file, std::min(size, maxSize), bytes);
}

FileReadStatus systemReadFileFrom(const QString& path, qint64 offset, qint64 maxSize,
                                  QByteArray& bytes, qint64& size)
{
    bytes.clear();
    size = 0;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return FileReadStatus::CannotOpen;
    size = file.size();
    if (size <= offset || maxSize <= 0)
        return FileReadStatus::Ok;
    if (!file.seek(offset))
        return FileReadStatus::ReadError;
    return readInto(file, std::min(size - offset, maxSize), bytes);
}

void FileSnapshot::setRead(QByteArray bytes)
{
    m_mapped.reset();
    m_bytes = std::move(bytes);
}

void FileSnapshot::setMapped(std::shared_ptr<QFile> file, const uchar* data, qint64 size)
{
    m_bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), size);
    m_mapped = std::move(file);
}

FileReadStatus systemReadSettledFile(const QString& path, qint64 maxSize, FileSnapshot& snapshot)
{
    if (!isOnLocalDisk(path)) {
        QByteArray bytes;
        const FileReadStatus status = systemReadFileSnapshot(path, maxSize, bytes);
        snapshot.setRead(std::move(bytes));
        return status;
    }
    auto file = std::make_shared<QFile>(path);
    if (!file->open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return FileReadStatus::CannotOpen;
    const qint64 size = file->size();
    if (size > maxSize)
        return FileReadStatus::TooLarge;
    const uchar* data = size > 0 ? file->map(0, size) : nullptr;
    if (data == nullptr) {
        QByteArray bytes;
        const FileReadStatus status = readInto(*file, size, bytes);
        snapshot.setRead(std::move(bytes));
        return status;
    }
    snapshot.setMapped(std::move(file), data, size);
    return FileReadStatus::Ok;
}

FileReadStatus readSettledFile(const QString& path, qint64 maxSize, FileSnapshot& snapshot)
{
    return fileAccess().readSettled(path, maxSize, snapshot);
}

FileReadStatus readFileSnapshot(const QString& path, qint64 maxSize, QByteArray& bytes)
{
    return fileAccess().readSnapshot(path, maxSize, bytes);
}

FileReadStatus readFileStart(const QString& path, qint64 maxSize, QByteArray& bytes, bool& goesOn)
{
    return fileAccess().readStart(path, maxSize, bytes, goesOn);
}

FileReadStatus readFileFrom(const QString& path, qint64 offset, qint64 maxSize, QByteArray& bytes,
                            qint64& size)
{
    return fileAccess().readFrom(path, offset, maxSize, bytes, size);
}

} // namespace card
