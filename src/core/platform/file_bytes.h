// Reading a whole file, read-only, as the snapshot of one moment.
#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QFile;

namespace card {

enum class FileReadStatus { Ok, CannotOpen, ReadError, TooLarge };

// Reads the bytes the file holds when it is opened. A file still being appended to yields the
// part written up to then; one that shrinks meanwhile yields what could still be read. On a
// ReadError bytes hold what was read before it.
FileReadStatus readFileSnapshot(const QString& path, qint64 maxSize, QByteArray& bytes);

// The same for the first maxSize bytes of a file of any size; goesOn tells whether the file
// held more.
FileReadStatus readFileStart(const QString& path, qint64 maxSize, QByteArray& bytes, bool& goesOn);

// The bytes from offset on, at most maxSize of them, for a file that grows: size gets the file's
// size when it is opened, and bytes stay empty when it holds no more than offset. Only the part
// asked for is read, whatever the file's size.
FileReadStatus readFileFrom(const QString& path, qint64 offset, qint64 maxSize, QByteArray& bytes,
                            qint64& size);

// The bytes of a file that is no longer written to, mapped into memory instead of copied where
// the file lies on a local disk, read otherwise. They stay valid while the snapshot lives.
class FileSnapshot {
public:
    // The file's bytes; over a mapping they share its memory, so they must not outlive it.
    const QByteArray& bytes() const { return m_bytes; }

    void setRead(QByteArray bytes);
    void setMapped(std::shared_ptr<QFile> file, const uchar* data, qint64 size);

private:
    std::shared_ptr<QFile> m_mapped;
    QByteArray m_bytes;
};

// The bytes of a settled file as readFileSnapshot gives them: mapped where the file system is
// a local one (a mapped page of a share that stops answering could not report its failure),
// read otherwise.
FileReadStatus readSettledFile(const QString& path, qint64 maxSize, FileSnapshot& snapshot);

} // namespace card
