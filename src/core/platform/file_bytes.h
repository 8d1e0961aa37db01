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

} // namespace card
