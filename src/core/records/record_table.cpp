#include "core/records/record_table.h"

namespace card {

RecordTable::RecordTable()
    : RecordTable(QByteArray(), TextEncoding::Utf8)
{}

RecordTable::RecordTable(QByteArray bytes, TextEncoding encoding)
    : m_bytes(std::move(bytes))
    , m_encoding(encoding)
    , m_codec(encoding)
{}

QString RecordTable::text(qsizetype row, int column) const
{
    ValueReader reader(m_bytes, m_recordStarts[static_cast<size_t>(row)]);
    ValueSlice value;
    for (int k = 0; k <= column; ++k)
        reader.next(value);
    if (value.length > kMaxShownValueBytes)
        return m_codec.decode(QByteArrayView(m_bytes).sliced(value.begin, kMaxShownValueBytes)) +
               QChar(u'…');
    return valueText(m_bytes, value, m_codec);
}

RecordSlices RecordTable::slices(qsizetype row) const
{
    ValueReader reader(m_bytes, m_recordStarts[static_cast<size_t>(row)]);
    RecordSlices values;
    for (ValueSlice& value : values)
        reader.next(value);
    return values;
}

} // namespace card
