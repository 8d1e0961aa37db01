#include "core/platform/file_access.h"

#include "core/platform/system_files.h"

#include <QDirIterator>
#include <QFileInfo>

#include <atomic>
#include <cstring>

namespace card {

namespace {

class SystemFileAccess final : public FileAccess {
public:
    bool exists(const QString& path) override { return systemFileExists(path); }
    FileReadStatus readSnapshot(const QString& path, qint64 maxSize, QByteArray& bytes) override
    {
        return systemReadFileSnapshot(path, maxSize, bytes);
    }
    FileReadStatus readStart(const QString& path, qint64 maxSize, QByteArray& bytes,
                             bool& goesOn) override
    {
        return systemReadFileStart(path, maxSize, bytes, goesOn);
    }
    FileReadStatus readFrom(const QString& path, qint64 offset, qint64 maxSize, QByteArray& bytes,
                            qint64& size) override
    {
        return systemReadFileFrom(path, offset, maxSize, bytes, size);
    }
    FileReadStatus readInto(const QString& path, qint64 offset, char* data, qint64 maxSize,
                            qint64& filled) override
    {
        return systemReadFileInto(path, offset, data, maxSize, filled);
    }
    std::unique_ptr<OpenFile> openFile(const QString& path) override
    {
        return systemOpenFile(path);
    }
    bool canEnterFolder(const QString& folder) override
    {
        const QFileInfo info(folder);
        return info.isDir() && info.isReadable() && info.isExecutable();
    }
    bool isFolder(const QString& path) override { return QFileInfo(path).isDir(); }
    void listFolder(const QString& folder, const EntryVisitor& visit) override
    {
        QDirIterator entries(folder, QDir::AllEntries | QDir::NoDotAndDotDot);
        while (entries.hasNext()) {
            entries.next();
            if (!visit(entries.fileName(), entries.fileInfo().isDir()))
                return;
        }
    }
};

std::atomic<FileAccess*> installed{nullptr};

// Reads of a file through its seam's readFrom, one opening each.
class PathReads final : public OpenFile {
public:
    PathReads(FileAccess& access, QString path)
        : m_access(access)
        , m_path(std::move(path))
    {}

    FileReadStatus readAt(qint64 offset, char* data, qint64 maxSize, qint64& filled,
                          qint64& size) override
    {
        QByteArray bytes;
        const FileReadStatus status = m_access.readFrom(m_path, offset, maxSize, bytes, size);
        std::memcpy(data, bytes.constData(), static_cast<size_t>(bytes.size()));
        filled = bytes.size();
        return status;
    }

private:
    FileAccess& m_access;
    QString m_path;
};

} // namespace

std::unique_ptr<OpenFile> FileAccess::openFile(const QString& path)
{
    return std::make_unique<PathReads>(*this, path);
}

FileReadStatus FileAccess::readInto(const QString& path, qint64 offset, char* data, qint64 maxSize,
                                    qint64& filled)
{
    QByteArray bytes;
    qint64 size = 0;
    const FileReadStatus status = readFrom(path, offset, maxSize, bytes, size);
    std::memcpy(data, bytes.constData(), static_cast<size_t>(bytes.size()));
    filled = bytes.size();
    return status;
}

FileAccess& systemFileAccess()
{
    static SystemFileAccess system;
    return system;
}

FileAccess& fileAccess()
{
    FileAccess* access = installed.load();
    return access ? *access : systemFileAccess();
}

void installFileAccess(FileAccess* access)
{
    installed.store(access);
}

} // namespace card
