// The listed records of a day: one compact table over the bytes of the day's file.
#pragma once

#include "param_file/value_reader.h"
#include "platform/text_decoding.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <vector>

namespace card {

inline constexpr int kRecordFieldCount = 4;

// The four values of a record, as slices of the file's bytes.
using RecordSlices = std::array<ValueSlice, kRecordFieldCount>;

// Rows of four fields (time, card number, name, direction). Each field is a slice of the file's
// bytes, decoded only when it is shown; no per-row heap string.
class RecordTable {
public:
    RecordTable();
    // bytes: the file content the slices point into (without a byte order mark).
    RecordTable(QByteArray bytes, TextEncoding encoding);

    void append(const RecordSlices& record);
    qsizetype rowCount() const {
        return static_cast<qsizetype>(m_fields.size()) / kRecordFieldCount;
    }
    QString text(qsizetype row, int column) const;

private:
    struct Field {
        quint32 offset;
        quint32 length : 31;
        quint32 inNumbers : 1; // the canonical text of a number, held in m_numbers
    };

    QByteArray m_bytes;
    QByteArray m_numbers;
    TextCodec m_codec;
    std::vector<Field> m_fields;
};

} // namespace card
