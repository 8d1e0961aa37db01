// The listed records of a day: one compact table over the bytes of the day's file.
#pragma once

#include "core/records/swipe.h"
#include "core/text/shared_texts.h"
#include "core/text/text_decoding.h"
#include "core/text/value_reader.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <limits>
#include <utility>
#include <vector>

namespace card {

inline constexpr int kRecordFieldCount = 4;

// The order of a record's values in the day file, which is also the order of the lists' columns.
enum RecordField { TimeField = 0, CardField = 1, NameField = 2, DirectionField = 3 };

// The four values of a record (time, card number, name, direction), as slices of the bytes.
using RecordSlices = std::array<ValueSlice, kRecordFieldCount>;

// The bytes a record's encoding is decided on (recordEncoding): from where the record begins in
// bytes to the end of its last value.
inline QByteArrayView recordSpan(QByteArrayView bytes, qsizetype start, const ValueSlice& last)
{
    return bytes.sliced(start, last.begin + last.length - start);
}

// Records are addressed by 32-bit offsets into the file's bytes: a day file must stay below
// 4 GiB (some hundred million swipes; a busy site writes about 35 MB a day).
inline constexpr qint64 kMaxRecordFileSize = std::numeric_limits<quint32>::max();

// A value longer than this is shown cut off with "…": no card reader writes one, and a broken
// file must not make every repaint decode megabytes.
inline constexpr qsizetype kMaxShownValueBytes = 4096;

// The kept records of one file: the file's bytes and, per row, where its record begins. A row
// costs four bytes; its values are read again and decoded only when the row is shown, so no
// row holds a string of its own.
class RecordTable {
public:
    // bytes: the whole file, at most kMaxRecordFileSize bytes; each record's text decodes in
    // its own encoding (recordEncoding).
    explicit RecordTable(QByteArray bytes = {});

    QByteArrayView bytes() const { return m_bytes; }
    // The bytes, leaving the table without bytes or rows but with the room its rows had.
    QByteArray takeBytes()
    {
        m_recordStarts.clear();
        return std::exchange(m_bytes, {});
    }
    // Starts over on bytes.
    void setBytes(QByteArray bytes)
    {
        m_recordStarts.clear();
        m_bytes = std::move(bytes);
    }

    // The same rows over the same bytes (shared, not copied) with a decoder of their own, for
    // reading them on another thread while this table stays in use.
    RecordTable copy() const;

    // Room for count rows, so that a table filled record by record is never copied.
    void reserveRows(qsizetype count) { m_recordStarts.reserve(static_cast<size_t>(count)); }
    // Keeps the record whose first value begins at offset.
    void appendRecordAt(qsizetype offset)
    {
        m_recordStarts.push_back(static_cast<quint32>(offset));
    }
    // Keeps the records whose first values begin at offsets, after those kept so far; the
    // first ones taken over without a copy.
    void appendRecordsAt(std::vector<quint32> offsets)
    {
        if (m_recordStarts.empty())
            m_recordStarts = std::move(offsets);
        else
            m_recordStarts.insert(m_recordStarts.end(), offsets.begin(), offsets.end());
    }
    qsizetype rowCount() const { return static_cast<qsizetype>(m_recordStarts.size()); }
    // Where row's record begins in bytes().
    qsizetype recordStart(qsizetype row) const { return m_recordStarts[static_cast<size_t>(row)]; }
    // The value of column (0 to 3) in row as text: a number in its shortest decimal form.
    // A value longer than kMaxShownValueBytes is cut off there and ends in "…".
    QString text(qsizetype row, int column) const;
    // All four values of row as text, its record read once; with shared, as shared texts.
    std::array<QString, kRecordFieldCount> texts(qsizetype row,
                                                 SharedTexts* shared = nullptr) const;
    // The four values of row as slices of bytes(), for readers that go through every row.
    RecordSlices slices(qsizetype row) const;
    // The bytes of row's record: from its first value to where a next record would begin.
    QByteArrayView recordBytes(qsizetype row) const;
    // How row's text decodes.
    TextEncoding encoding(qsizetype row) const;

private:
    // Reads row's four values into values; gives where a next record would begin.
    qsizetype readValues(qsizetype row, RecordSlices& values) const;
    const TextCodec& codecOf(qsizetype row, const RecordSlices& values) const;
    QString shownText(const ValueSlice& value, const TextCodec& codec,
                      SharedTexts* shared = nullptr) const;

    QByteArray m_bytes;
    RecordCodecs m_codecs;
    std::vector<quint32> m_recordStarts;
};

// The swipe of row, a record of day's file at the site of the given folders and parameter file;
// with shared, its texts are shared texts.
Swipe swipeOfRow(const RecordTable& table, qsizetype row, QDate day, const QString& recordsFolder,
                 const QString& photoFolder, const QString& parameterFile,
                 SharedTexts* shared = nullptr);

} // namespace card
