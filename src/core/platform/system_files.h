// The file system's own operations behind the file seam. Only the seam's system implementation
// calls them; everything else goes through fileAccess().
#pragma once

#include "core/platform/file_bytes.h"

#include <QString>

#include <memory>

namespace card {

bool systemFileExists(const QString& path);
FileReadStatus systemReadFileSnapshot(const QString& path, qint64 maxSize, QByteArray& bytes);
FileReadStatus systemReadFileStart(const QString& path, qint64 maxSize, QByteArray& bytes,
                                   bool& goesOn);
FileReadStatus systemReadFileFrom(const QString& path, qint64 offset, qint64 maxSize,
                                  QByteArray& bytes, qint64& size);
FileReadStatus systemReadFileInto(const QString& path, qint64 offset, char* data, qint64 maxSize,
                                  qint64& filled);
std::unique_ptr<OpenFile> systemOpenFile(const QString& path);

} // namespace card
