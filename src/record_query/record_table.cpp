#include "record_query/record_table.h"

namespace card {

RecordTable::RecordTable()
    : m_codec(TextEncoding::Utf8) {}

RecordTable::RecordTable(QByteArray bytes, TextEncoding encoding)
    : m_bytes(std::move(bytes))
    , m_codec(encoding) {}

void RecordTable::append(const RecordSlices& record) {
    for (const ValueSlice& value : record) {
        if (value.isNumber) {
            const QByteArray number =
                canonicalNumber(QByteArrayView(m_bytes).sliced(value.begin, value.length));
            m_fields.push_back(
                {static_cast<quint32>(m_numbers.size()), static_cast<quint32>(number.size()), 1});
            m_numbers += number;
        } else {
            m_fields.push_back(
                {static_cast<quint32>(value.begin), static_cast<quint32>(value.length), 0});
        }
    }
}

QString RecordTable::text(qsizetype row, int column) const {
    const Field& field = m_fields[static_cast<size_t>(row * kRecordFieldCount + column)];
    if (field.inNumbers)
        return QString::fromLatin1(QByteArrayView(m_numbers).sliced(field.offset, field.length));
    return m_codec.decode(QByteArrayView(m_bytes).sliced(field.offset, field.length));
}

} // namespace card
