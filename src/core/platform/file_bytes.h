// Reading files, read-only: whole, in part, or window by window.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <memory>

namespace card {

enum class FileReadStatus { Ok, CannotOpen, ReadError, TooLarge };

// Reads the bytes the file holds when it is opened. A file still being appended to yields the
// part written up to then; one that shrinks meanwhile yields what could still be read. On a
// ReadError bytes hold what was read before it. A buffer that bytes alone holds is read into
// again where it has room, so that reading many files one after the other into one buffer
// does not fault in new memory for each.
FileReadStatus readFileSnapshot(const QString& path, qint64 maxSize, QByteArray& bytes);

// The same for the first maxSize bytes of a file of any size; goesOn tells whether the file
// held more.
FileReadStatus readFileStart(const QString& path, qint64 maxSize, QByteArray& bytes, bool& goesOn);

// The bytes from offset on, at most maxSize of them, for a file that grows: size gets the file's
// size when it is opened, and bytes stay empty when it holds no more than offset. Only the part
// asked for is read, whatever the file's size.
FileReadStatus readFileFrom(const QString& path, qint64 offset, qint64 maxSize, QByteArray& bytes,
                            qint64& size);

// At most maxSize bytes from offset on, read into data (which holds that many) without a copy:
// filled gets how many were read, fewer when the file holds fewer. For reading one file in
// parts on several threads at once.
FileReadStatus readFileInto(const QString& path, qint64 offset, char* data, qint64 maxSize,
                            qint64& filled);

// A file held open for reads at any offset, so that reading it in parts costs one read each.
class OpenFile {
public:
    virtual ~OpenFile() = default;
    // At most maxSize bytes from offset into data (which holds that many), filled getting how
    // many: fewer when the file ends sooner. size gets the file's size.
    virtual FileReadStatus readAt(qint64 offset, char* data, qint64 maxSize, qint64& filled,
                                  qint64& size) = 0;
};

// A source of bytes read from its start in windows of at most a bounded number of bytes, so that
// memory stays bounded whatever the source's size. The source is read as it was at the first
// read: bytes appended later are left out, and a source found shorter than that is a ReadError.
// Every window is read into the same buffer.
class ByteWindows {
public:
    // Small enough that a window read is still in the core's own cache when it is scanned, and
    // that a window per site thread is little memory.
    static constexpr qsizetype kDefaultBytes = qsizetype(512) << 10;

    explicit ByteWindows(qsizetype windowBytes);
    virtual ~ByteWindows() = default;
    ByteWindows(const ByteWindows&) = delete;
    ByteWindows& operator=(const ByteWindows&) = delete;

    // Reads the first window, or the one that begins after the first used bytes of the
    // current one: a record cut at a window's edge is left unused and read again whole in the
    // next. A window of which none is used is read again twice as long. False once the window
    // that reaches the end has been read, or when a read fails (see status()).
    bool next(qsizetype used = 0);

    QByteArrayView bytes() const { return QByteArrayView(m_buffer.constData(), m_filled); }
    qint64 offset() const { return m_offset; } // where bytes() begin in the source
    bool reachesEnd() const { return m_offset + m_filled >= m_size; }
    FileReadStatus status() const { return m_status; }

protected:
    // Reads at most maxSize bytes from offset into data, as OpenFile::readAt does.
    virtual FileReadStatus readAt(qint64 offset, char* data, qint64 maxSize, qint64& filled,
                                  qint64& size) = 0;

private:
    qsizetype m_windowBytes;
    QByteArray m_buffer; // the current window in its first m_filled bytes
    qsizetype m_filled = 0;
    qint64 m_offset = 0;
    qint64 m_size = -1; // the source's size at the first read
    FileReadStatus m_status = FileReadStatus::Ok;
};

// A file's windows, each a positioned read of the file held open, so that another program
// rewriting or truncating the file makes a failed read, never a crash (as a mapping would).
class FileWindows final : public ByteWindows {
public:
    explicit FileWindows(QString path, qsizetype windowBytes = kDefaultBytes);

private:
    FileReadStatus readAt(qint64 offset, char* data, qint64 maxSize, qint64& filled,
                          qint64& size) override;

    QString m_path;
    std::unique_ptr<OpenFile> m_file; // opened by the first read
};

// The windows a file holding bytes would be read in, for checking a reader of windows against
// one of the whole.
class MemoryWindows final : public ByteWindows {
public:
    MemoryWindows(QByteArrayView source, qsizetype windowBytes);

private:
    FileReadStatus readAt(qint64 offset, char* data, qint64 maxSize, qint64& filled,
                          qint64& size) override;

    QByteArrayView m_source;
};

} // namespace card
