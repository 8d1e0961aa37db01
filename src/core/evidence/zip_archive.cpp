#include "core/evidence/zip_archive.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QIODevice>

#include <archive.h>
#include <archive_entry.h>

namespace card {

namespace {

constexpr qsizetype kReadPiece = 1 << 20;

la_ssize_t writeToDevice(archive*, void* device, const void* buffer, size_t length)
{
    const qint64 written =
        static_cast<QIODevice*>(device)->write(static_cast<const char*>(buffer), qint64(length));
    return written < 0 ? -1 : la_ssize_t(written);
}

using EntryPointer = std::unique_ptr<archive_entry, void (*)(archive_entry*)>;
using ReadPointer = std::unique_ptr<archive, int (*)(archive*)>;

ReadPointer openZip(const QString& path)
{
    ReadPointer reader(archive_read_new(), archive_read_free);
    archive_read_support_format_zip_seekable(reader.get());
    if (archive_read_open_filename(reader.get(), QFile::encodeName(path).constData(), kReadPiece) !=
        ARCHIVE_OK)
        return {nullptr, archive_read_free};
    return reader;
}

// The entry's bytes hashed piece by piece; empty when they could not be read whole.
QByteArray hashEntryData(archive* reader)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QByteArray piece(kReadPiece, Qt::Uninitialized);
    for (;;) {
        const la_ssize_t read = archive_read_data(reader, piece.data(), size_t(piece.size()));
        if (read < 0)
            return {};
        if (read == 0)
            return hash.result().toHex();
        hash.addData(QByteArrayView(piece.constData(), read));
    }
}

} // namespace

ZipWriter::ZipWriter(QIODevice& device)
    : m_archive(archive_write_new(), archive_write_free)
    , m_device(device)
{
    archive* zip = m_archive.get();
    archive_write_set_format_zip(zip);
    archive_write_set_format_option(zip, "zip", "hdrcharset", "UTF-8");
    archive_write_set_bytes_in_last_block(zip, 1);
    if (archive_write_open(zip, &m_device, nullptr, writeToDevice, nullptr) != ARCHIVE_OK)
        failed();
}

ZipWriter::~ZipWriter() = default;

bool ZipWriter::add(const QString& path, const QByteArray& bytes, const QDateTime& modified,
                    Packing packing)
{
    QByteArray data = bytes;
    QBuffer source(&data);
    source.open(QIODevice::ReadOnly);
    QByteArray sha256;
    return add(path, source, modified, packing, sha256);
}

bool ZipWriter::add(const QString& path, QIODevice& source, const QDateTime& modified,
                    Packing packing, QByteArray& sha256)
{
    if (!m_error.isEmpty())
        return false;
    archive* zip = m_archive.get();
    if (packing == Packing::Store)
        archive_write_zip_set_compression_store(zip);
    else
        archive_write_zip_set_compression_deflate(zip);
    EntryPointer entry(archive_entry_new(), archive_entry_free);
    archive_entry_set_pathname_utf8(entry.get(), path.toUtf8().constData());
    archive_entry_set_filetype(entry.get(), AE_IFREG);
    archive_entry_set_perm(entry.get(), 0644);
    const qint64 size = source.size() - source.pos();
    archive_entry_set_size(entry.get(), size);
    archive_entry_set_mtime(entry.get(), modified.toSecsSinceEpoch(), 0);
    if (archive_write_header(zip, entry.get()) != ARCHIVE_OK)
        return failed();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QByteArray piece(kReadPiece, Qt::Uninitialized);
    for (qint64 done = 0; done < size;) {
        const qint64 read = source.read(piece.data(), std::min<qint64>(size - done, kReadPiece));
        if (read <= 0)
            return failed();
        hash.addData(QByteArrayView(piece.constData(), read));
        for (qint64 packed = 0; packed < read;) {
            const la_ssize_t written =
                archive_write_data(zip, piece.constData() + packed, size_t(read - packed));
            if (written <= 0)
                return failed();
            packed += written;
        }
        done += read;
    }
    sha256 = hash.result().toHex();
    return archive_write_finish_entry(zip) == ARCHIVE_OK || failed();
}

bool ZipWriter::finish()
{
    if (!m_error.isEmpty())
        return false;
    return archive_write_close(m_archive.get()) == ARCHIVE_OK || failed();
}

bool ZipWriter::failed()
{
    const char* reason = archive_error_string(m_archive.get());
    m_error = reason ? QString::fromLocal8Bit(reason) : m_device.errorString();
    return false;
}

QByteArray sha256Hex(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

ZipReadStatus hashZipEntries(const QString& path,
                             const std::function<void(const ZipEntryHash& entry)>& visit)
{
    const ReadPointer reader = openZip(path);
    if (!reader)
        return ZipReadStatus::NotZip;
    bool anyEntry = false;
    for (;;) {
        archive_entry* entry = nullptr;
        const int status = archive_read_next_header(reader.get(), &entry);
        if (status == ARCHIVE_EOF)
            return ZipReadStatus::Ok;
        if (status < ARCHIVE_WARN)
            return anyEntry ? ZipReadStatus::Damaged : ZipReadStatus::NotZip;
        anyEntry = true;
        if (archive_entry_filetype(entry) != AE_IFREG)
            continue;
        const QString name = QString::fromUtf8(archive_entry_pathname_utf8(entry));
        visit({name, hashEntryData(reader.get())});
    }
}

std::optional<QByteArray> readZipEntry(const QString& path, const QString& entryPath,
                                       qint64 maxSize)
{
    const ReadPointer reader = openZip(path);
    if (!reader)
        return std::nullopt;
    archive_entry* entry = nullptr;
    while (archive_read_next_header(reader.get(), &entry) >= ARCHIVE_WARN) {
        if (QString::fromUtf8(archive_entry_pathname_utf8(entry)) != entryPath)
            continue;
        if (archive_entry_size(entry) > maxSize)
            return std::nullopt;
        QByteArray bytes(archive_entry_size(entry), Qt::Uninitialized);
        const la_ssize_t read = archive_read_data(reader.get(), bytes.data(), size_t(bytes.size()));
        if (read != bytes.size())
            return std::nullopt;
        return bytes;
    }
    return std::nullopt;
}

} // namespace card
