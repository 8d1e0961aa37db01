// Reading a whole file, read-only, as the snapshot of one moment.
#pragma once

#include <QByteArray>
#include <QString>

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

} // namespace card
