// A file seam for tests: the real file system, made slow, hanging or failing for chosen paths.
#pragma once

#include "core/platform/file_access.h"

#include <QMutex>
#include <QString>
#include <QStringList>
#include <QWaitCondition>

#include <chrono>

namespace card::test {

// Installs itself while it lives. Every operation on a path that contains a chosen part is
// delayed, held until release(), or (reads only) cut short by a read error; all others pass
// straight to the file system. The destructor releases what it holds and waits for those
// operations to leave before it uninstalls.
class ControlledFileAccess final : public FileAccess {
public:
    ControlledFileAccess();
    ~ControlledFileAccess() override;
    ControlledFileAccess(const ControlledFileAccess&) = delete;
    ControlledFileAccess& operator=(const ControlledFileAccess&) = delete;

    void delay(const QString& pathPart, std::chrono::milliseconds wait);
    void hang(const QString& pathPart);
    // Reads of such a path keep their first keptBytes and then fail.
    void failReads(const QString& pathPart, qsizetype keptBytes);
    // Such a path is there but not this user's to read: it cannot be opened or entered.
    void deny(const QString& pathPart);
    // Lets every held operation go on; later ones are no longer held.
    void release();
    // Operations held at this moment.
    int held() const;
    // Reads started so far (held or not) of paths that contain pathPart.
    int reads(const QString& pathPart) const;

    bool exists(const QString& path) override;
    FileReadStatus readSnapshot(const QString& path, qint64 maxSize, QByteArray& bytes) override;
    FileReadStatus readStart(const QString& path, qint64 maxSize, QByteArray& bytes,
                             bool& goesOn) override;
    FileReadStatus readFrom(const QString& path, qint64 offset, qint64 maxSize, QByteArray& bytes,
                            qint64& size) override;
    bool canEnterFolder(const QString& folder) override;
    bool isFolder(const QString& path) override;
    void listFolder(const QString& folder, const EntryVisitor& visit) override;

private:
    class Inside;
    void countRead(const QString& path);
    void waitFor(const QString& path);
    FileReadStatus failedRead(const QString& path, FileReadStatus status, QByteArray& bytes);

    mutable QMutex m_mutex;
    QWaitCondition m_released;
    QWaitCondition m_left;
    QString m_delayPart;
    std::chrono::milliseconds m_delay{0};
    QString m_hangPart;
    QString m_failPart;
    QString m_deniedPart;
    qsizetype m_keptBytes = 0;
    int m_held = 0;
    int m_inside = 0;
    QStringList m_readPaths;
};

} // namespace card::test
