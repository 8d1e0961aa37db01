#include "core/platform/file_bytes.h"

#include "core/platform/file_access.h"
#include "core/platform/large_buffer.h"
#include "core/platform/system_files.h"

#include <QFile>

#include <algorithm>
#include <cstring>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <unistd.h>
#endif

namespace card {

namespace {

// Fills data with up to size bytes from read(at, count), which gives the bytes it read, 0 at the
// end or below 0 on a failure; fewer when the file ends sooner or a read fails, which keeps what
// was read before.
template <typename Read>
FileReadStatus fill(qint64 size, char* data, qint64& filled, const Read& read)
{
    filled = 0;
    while (filled < size) {
        const qint64 got = read(data + filled, size - filled);
        if (got < 0)
            return FileReadStatus::ReadError;
        if (got == 0)
            break;
        filled += got;
    }
    return FileReadStatus::Ok;
}

// Reads up to size bytes from where the file stands into data; fewer when it shrinks meanwhile.
FileReadStatus readInto(QFile& file, qint64 size, char* data, qint64& filled)
{
    return fill(size, data, filled,
                [&file](char* at, qint64 count) { return file.read(at, count); });
}

FileReadStatus readInto(QFile& file, qint64 size, QByteArray& bytes)
{
    if (bytes.isDetached() && bytes.capacity() >= size)
        bytes.resize(size);
    else
        bytes = largeBuffer(size);
    qint64 filled = 0;
    const FileReadStatus status = readInto(file, size, bytes.data(), filled);
    bytes.truncate(filled);
    return status;
}

// Reads up to size bytes from offset into data with one positioned read where the system has
// them; fewer when the file ends sooner.
FileReadStatus readFileAt(QFile& file, qint64 offset, qint64 size, char* data, qint64& filled)
{
#if defined(Q_OS_UNIX)
    return fill(size, data, filled, [&file, offset, data](char* at, qint64 count) {
        ssize_t got = 0;
        do
            got = ::pread(file.handle(), at, static_cast<size_t>(count),
                          static_cast<off_t>(offset + (at - data)));
        while (got < 0 && errno == EINTR);
        return static_cast<qint64>(got);
    });
#else
    if (!file.seek(offset))
        return FileReadStatus::ReadError;
    return readInto(file, size, data, filled);
#endif
}

// A file of the file system, opened by its first read; its size is the one it had then.
class SystemOpenFile final : public OpenFile {
public:
    explicit SystemOpenFile(const QString& path)
        : m_file(path)
    {}

    FileReadStatus readAt(qint64 offset, char* data, qint64 maxSize, qint64& filled,
                          qint64& size) override
    {
        filled = 0;
        size = 0;
        if (!m_file.isOpen()) {
            if (!m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
                return FileReadStatus::CannotOpen;
            m_size = m_file.size();
        }
        size = m_size;
        return readFileAt(m_file, offset, std::clamp<qint64>(m_size - offset, 0, maxSize), data,
                          filled);
    }

private:
    QFile m_file;
    qint64 m_size = 0;
};

} // namespace

std::unique_ptr<OpenFile> systemOpenFile(const QString& path)
{
    return std::make_unique<SystemOpenFile>(path);
}

FileReadStatus systemReadFileSnapshot(const QString& path, qint64 maxSize, QByteArray& bytes)
{
    bytes.resize(0); // keeps its room for readInto
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

FileReadStatus systemReadFileInto(const QString& path, qint64 offset, char* data, qint64 maxSize,
                                  qint64& filled)
{
    filled = 0;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return FileReadStatus::CannotOpen;
    if (!file.seek(offset))
        return FileReadStatus::ReadError;
    return readInto(file, maxSize, data, filled);
}

ByteWindows::ByteWindows(qsizetype windowBytes)
    : m_windowBytes(windowBytes)
{}

bool ByteWindows::next(qsizetype used)
{
    if (m_status != FileReadStatus::Ok || (m_size >= 0 && reachesEnd()))
        return false;
    if (m_size >= 0 && used == 0)
        m_windowBytes *= 2; // a record longer than the window
    const qint64 from = m_size < 0 ? 0 : m_offset + used;
    const qint64 wanted =
        m_size < 0 ? m_windowBytes : std::min<qint64>(m_windowBytes, m_size - from);
    if (m_buffer.size() < wanted)
        m_buffer = QByteArray(wanted, Qt::Uninitialized);
    qint64 size = 0;
    qint64 filled = 0;
    m_status = readAt(from, m_buffer.data(), wanted, filled, size);
    m_filled = filled;
    if (m_size < 0)
        m_size = size;
    const qint64 expected = std::min<qint64>(wanted, m_size - from);
    if (m_status == FileReadStatus::Ok && (size < m_size || filled < expected))
        m_status = FileReadStatus::ReadError; // rewritten or truncated meanwhile
    m_offset = from;
    return m_status == FileReadStatus::Ok;
}

FileWindows::FileWindows(QString path, qsizetype windowBytes)
    : ByteWindows(windowBytes)
    , m_path(std::move(path))
{}

FileReadStatus FileWindows::readAt(qint64 offset, char* data, qint64 maxSize, qint64& filled,
                                   qint64& size)
{
    if (!m_file)
        m_file = fileAccess().openFile(m_path);
    return m_file->readAt(offset, data, maxSize, filled, size);
}

MemoryWindows::MemoryWindows(QByteArrayView source, qsizetype windowBytes)
    : ByteWindows(windowBytes)
    , m_source(source)
{}

FileReadStatus MemoryWindows::readAt(qint64 offset, char* data, qint64 maxSize, qint64& filled,
                                     qint64& size)
{
    size = m_source.size();
    filled = std::clamp<qint64>(size - offset, 0, maxSize);
    std::memcpy(data, m_source.data() + offset, static_cast<size_t>(filled));
    return FileReadStatus::Ok;
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

FileReadStatus readFileInto(const QString& path, qint64 offset, char* data, qint64 maxSize,
                            qint64& filled)
{
    return fileAccess().readInto(path, offset, data, maxSize, filled);
}

} // namespace card
