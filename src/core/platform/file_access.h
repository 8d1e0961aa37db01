// The one seam through which the product touches a site's files: the existence test, reads and
// folder listings. The product uses the file system; tests put a slow or hanging one behind it.
#pragma once

#include "core/platform/file_bytes.h"

#include <QString>

#include <functional>
#include <memory>

namespace card {

class FileAccess {
public:
    virtual ~FileAccess() = default;

    // See fileExists, readFileSnapshot, readFileStart, readFileFrom and readFileInto.
    virtual bool exists(const QString& path) = 0;
    virtual FileReadStatus readSnapshot(const QString& path, qint64 maxSize, QByteArray& bytes) = 0;
    virtual FileReadStatus readStart(const QString& path, qint64 maxSize, QByteArray& bytes,
                                     bool& goesOn) = 0;
    virtual FileReadStatus readFrom(const QString& path, qint64 offset, qint64 maxSize,
                                    QByteArray& bytes, qint64& size) = 0;
    // Reads at most maxSize bytes of the file from offset into data, filled getting how many
    // (fewer when the file is shorter); by default through readFrom, which the file system
    // itself does without the copy.
    virtual FileReadStatus readInto(const QString& path, qint64 offset, char* data, qint64 maxSize,
                                    qint64& filled);
    // The file at path for reads in parts, opened by its first read (which gives CannotOpen when
    // it cannot be); by default each read goes through readFrom.
    virtual std::unique_ptr<OpenFile> openFile(const QString& path);
    // True when folder exists and this user may list it and enter it.
    virtual bool canEnterFolder(const QString& folder) = 0;
    // True when a folder exists at path, whether or not this user may enter it.
    virtual bool isFolder(const QString& path) = 0;
    // Calls visit for every visible entry of folder, in no particular order, until it returns
    // false.
    using EntryVisitor = std::function<bool(const QString& name, bool isFolder)>;
    virtual void listFolder(const QString& folder, const EntryVisitor& visit) = 0;
};

// The file system itself.
FileAccess& systemFileAccess();

// What every file operation of the product goes through; the file system unless a test has
// installed another. Installing is done while no file work runs; nullptr restores the system.
FileAccess& fileAccess();
void installFileAccess(FileAccess* access);

} // namespace card
