// ZIP files written and read through libarchive: entries as bytes, each hashed (SHA-256) as it
// is written or read, so a package's hashes are those of the bytes it really holds.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QIODevice;

struct archive;

namespace card {

// Writes a ZIP file into an open device, entry by entry.
class ZipWriter {
public:
    explicit ZipWriter(QIODevice& device);
    ~ZipWriter();
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    // Adds an entry named path (folders separated by '/') holding bytes, deflated or stored as
    // they are (photos gain nothing from deflating); false on a write failure, with the reason
    // in errorText. The entry keeps modified as its time.
    enum class Packing { Deflate, Store };
    bool add(const QString& path, const QByteArray& bytes, const QDateTime& modified,
             Packing packing = Packing::Deflate);
    // The same for the rest of source, read in pieces so a large entry is never held whole;
    // sha256 receives the hexadecimal SHA-256 of the bytes packed.
    bool add(const QString& path, QIODevice& source, const QDateTime& modified, Packing packing,
             QByteArray& sha256);
    // Writes the ZIP's central directory; false when that failed.
    bool finish();
    const QString& errorText() const { return m_error; }

private:
    bool failed();

    std::unique_ptr<archive, int (*)(archive*)> m_archive;
    QIODevice& m_device;
    QString m_error;
};

// The SHA-256 of bytes as lower-case hexadecimal digits.
QByteArray sha256Hex(const QByteArray& bytes);

enum class ZipReadStatus { Ok, NotZip, Damaged };

// One file entry of a ZIP file as read: its SHA-256 (hexadecimal), empty when its bytes could
// not be read back whole (a damaged entry fails its own check).
struct ZipEntryHash {
    QString path;
    QByteArray sha256;
};

// Calls visit for every file entry of the ZIP file at path, reading each entry once in pieces,
// whatever its size. NotZip when the file is no ZIP at all.
ZipReadStatus hashZipEntries(const QString& path,
                             const std::function<void(const ZipEntryHash& entry)>& visit);

// The bytes of one entry of the ZIP file at path, up to maxSize; an empty optional when the
// file is not a ZIP, lacks the entry or the entry is larger.
std::optional<QByteArray> readZipEntry(const QString& path, const QString& entry, qint64 maxSize);

} // namespace card
