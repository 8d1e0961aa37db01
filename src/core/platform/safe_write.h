// Writing a file the safe way: through a temporary file beside the target that is renamed over
// it only when everything was written, and never into the site's own folders or files.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QIODevice;

namespace card {

enum class SafeWriteStatus {
    Ok,
    Refused,          // the target is or lies inside a protected place (a site folder or file)
    SourceUnreadable, // the file to copy could not be opened or read
    CannotCreate,     // the temporary file beside the target could not be created
    WriteFailed,      // writing the temporary file failed (disk full, say); the target is untouched
    CommitFailed,     // the temporary file could not be renamed over the target
};

// What failed and where; path is the file that failed (the target, or the source of a copy).
struct SafeWriteResult {
    SafeWriteStatus status = SafeWriteStatus::Ok;
    QString path;
    QString reason;             // the system's words, or the protected place of a refusal
    bool targetExisted = false; // a file was at the target before the write
    bool ok() const { return status == SafeWriteStatus::Ok; }
};

// The protected place (a folder, or a single file) that is or holds target, or an empty string.
// Both sides are compared after resolving symbolic links; a target that does not exist yet is
// judged by its folder. Empty settings protect nothing.
QString protectedPlaceHolding(const QString& target, const QStringList& protectedPlaces);

// Writes target through a QSaveFile: write gets the open temporary file and returns false when
// it failed. On any failure the temporary file is removed and an existing target is unchanged.
SafeWriteResult writeFileSafely(const QString& target, const QStringList& protectedPlaces,
                                const std::function<bool(QIODevice& file)>& write);

// Copies the bytes of source, a site file read whole and read-only (up to maxSourceBytes), to
// target, the same safe way.
SafeWriteResult copyFileSafely(const QString& source, const QString& target,
                               const QStringList& protectedPlaces, qint64 maxSourceBytes);

} // namespace card
