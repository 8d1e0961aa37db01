#include "core/records/record_table.h"

namespace card {

RecordTable::RecordTable(QByteArray bytes)
    : m_bytes(std::move(bytes))
{}

RecordTable RecordTable::copy() const
{
    RecordTable table(m_bytes);
    table.m_recordStarts = m_recordStarts;
    return table;
}

QString RecordTable::text(qsizetype row, int column) const
{
    const RecordSlices values = slices(row);
    const ValueSlice& value = values[static_cast<size_t>(column)];
    const TextCodec& codec =
        m_codecs.forRecord(recordSpan(m_bytes, recordStart(row), values.back()));
    if (value.length > kMaxShownValueBytes)
        return codec.decode(QByteArrayView(m_bytes).sliced(value.begin, kMaxShownValueBytes)) +
               QChar(u'…');
    return valueText(m_bytes, value, codec);
}

TextEncoding RecordTable::encoding(qsizetype row) const
{
    return recordEncoding(recordSpan(m_bytes, recordStart(row), slices(row).back()));
}

RecordSlices RecordTable::slices(qsizetype row) const
{
    ValueReader reader(m_bytes, m_recordStarts[static_cast<size_t>(row)]);
    RecordSlices values;
    for (ValueSlice& value : values)
        reader.next(value);
    return values;
}

Swipe swipeOfRow(const RecordTable& table, qsizetype row, QDate day, const QString& recordsFolder,
                 const QString& photoFolder, const QString& parameterFile)
{
    return {table.text(row, TimeField),
            table.text(row, CardField),
            table.text(row, NameField),
            table.text(row, DirectionField),
            day,
            recordsFolder,
            photoFolder,
            parameterFile};
}

} // namespace card
