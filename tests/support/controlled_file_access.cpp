#include "support/controlled_file_access.h"

#include <QThread>

#include <algorithm>

namespace card::test {

namespace {

bool matches(const QString& path, const QString& part)
{
    return !part.isEmpty() && path.contains(part);
}

} // namespace

ControlledFileAccess::ControlledFileAccess()
{
    installFileAccess(this);
}

ControlledFileAccess::~ControlledFileAccess()
{
    release();
    QMutexLocker lock(&m_mutex);
    while (m_inside > 0)
        m_left.wait(&m_mutex);
    lock.unlock();
    installFileAccess(nullptr);
}

void ControlledFileAccess::delay(const QString& pathPart, std::chrono::milliseconds wait)
{
    QMutexLocker lock(&m_mutex);
    m_delayPart = pathPart;
    m_delay = wait;
}

void ControlledFileAccess::hang(const QString& pathPart)
{
    QMutexLocker lock(&m_mutex);
    m_hangPart = pathPart;
}

void ControlledFileAccess::failReads(const QString& pathPart, qsizetype keptBytes)
{
    QMutexLocker lock(&m_mutex);
    m_failPart = pathPart;
    m_keptBytes = keptBytes;
}

void ControlledFileAccess::deny(const QString& pathPart)
{
    QMutexLocker lock(&m_mutex);
    m_deniedPart = pathPart;
}

void ControlledFileAccess::release()
{
    QMutexLocker lock(&m_mutex);
    m_hangPart.clear();
    m_released.wakeAll();
}

int ControlledFileAccess::held() const
{
    QMutexLocker lock(&m_mutex);
    return m_held;
}

int ControlledFileAccess::reads(const QString& pathPart) const
{
    QMutexLocker lock(&m_mutex);
    return static_cast<int>(
        std::count_if(m_readPaths.cbegin(), m_readPaths.cend(),
                      [&pathPart](const QString& path) { return matches(path, pathPart); }));
}

void ControlledFileAccess::countRead(const QString& path)
{
    QMutexLocker lock(&m_mutex);
    m_readPaths.append(path);
}

void ControlledFileAccess::waitFor(const QString& path)
{
    QMutexLocker lock(&m_mutex);
    const std::chrono::milliseconds delay = matches(path, m_delayPart) ? m_delay : m_delay.zero();
    if (delay.count() > 0) {
        lock.unlock();
        QThread::msleep(static_cast<unsigned long>(delay.count()));
        lock.relock();
    }
    if (matches(path, m_hangPart)) {
        ++m_held;
        while (matches(path, m_hangPart))
            m_released.wait(&m_mutex);
        --m_held;
    }
}

FileReadStatus ControlledFileAccess::failedRead(const QString& path, FileReadStatus status,
                                                QByteArray& bytes)
{
    QMutexLocker lock(&m_mutex);
    if (matches(path, m_deniedPart)) {
        bytes.clear();
        return FileReadStatus::CannotOpen;
    }
    if (status != FileReadStatus::Ok || !matches(path, m_failPart))
        return status;
    bytes.truncate(m_keptBytes);
    return FileReadStatus::ReadError;
}

// Every operation counts itself inside while it runs, so the destructor can wait for the last.
class ControlledFileAccess::Inside {
public:
    explicit Inside(ControlledFileAccess& access)
        : m_access(access)
    {
        QMutexLocker lock(&m_access.m_mutex);
        ++m_access.m_inside;
    }
    ~Inside()
    {
        QMutexLocker lock(&m_access.m_mutex);
        --m_access.m_inside;
        m_access.m_left.wakeAll();
    }
    Inside(const Inside&) = delete;
    Inside& operator=(const Inside&) = delete;

private:
    ControlledFileAccess& m_access;
};

bool ControlledFileAccess::exists(const QString& path)
{
    const Inside inside(*this);
    waitFor(path);
    return systemFileAccess().exists(path);
}

FileReadStatus ControlledFileAccess::readSnapshot(const QString& path, qint64 maxSize,
                                                  QByteArray& bytes)
{
    const Inside inside(*this);
    countRead(path);
    waitFor(path);
    return failedRead(path, systemFileAccess().readSnapshot(path, maxSize, bytes), bytes);
}

FileReadStatus ControlledFileAccess::readStart(const QString& path, qint64 maxSize,
                                               QByteArray& bytes, bool& goesOn)
{
    const Inside inside(*this);
    countRead(path);
    waitFor(path);
    return failedRead(path, systemFileAccess().readStart(path, maxSize, bytes, goesOn), bytes);
}

FileReadStatus ControlledFileAccess::readFrom(const QString& path, qint64 offset, qint64 maxSize,
                                              QByteArray& bytes, qint64& size)
{
    const Inside inside(*this);
    countRead(path);
    waitFor(path);
    return failedRead(path, systemFileAccess().readFrom(path, offset, maxSize, bytes, size), bytes);
}

bool ControlledFileAccess::canEnterFolder(const QString& folder)
{
    const Inside inside(*this);
    waitFor(folder);
    QMutexLocker lock(&m_mutex);
    return !matches(folder, m_deniedPart) && systemFileAccess().canEnterFolder(folder);
}

bool ControlledFileAccess::isFolder(const QString& path)
{
    const Inside inside(*this);
    waitFor(path);
    return systemFileAccess().isFolder(path);
}

void ControlledFileAccess::listFolder(const QString& folder, const EntryVisitor& visit)
{
    const Inside inside(*this);
    waitFor(folder);
    systemFileAccess().listFolder(folder, visit);
}

} // namespace card::test
