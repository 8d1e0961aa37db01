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
    return shownText(values[static_cast<size_t>(column)], codecOf(row, values));
}

std::array<QString, kRecordFieldCount> RecordTable::texts(qsizetype row, SharedTexts* shared) const
{
    const RecordSlices values = slices(row);
    const TextCodec& codec = codecOf(row, values);
    return {shownText(values[TimeField], codec, shared),
            shownText(values[CardField], codec, shared),
            shownText(values[NameField], codec, shared),
            shownText(values[DirectionField], codec, shared)};
}

const TextCodec& RecordTable::codecOf(qsizetype row, const RecordSlices& values) const
{
    return m_codecs.forRecord(recordSpan(m_bytes, recordStart(row), values.back()));
}

QString RecordTable::shownText(const ValueSlice& value, const TextCodec& codec,
                               SharedTexts* shared) const
{
    if (value.length > kMaxShownValueBytes)
        return codec.decode(QByteArrayView(m_bytes).sliced(value.begin, kMaxShownValueBytes)) +
               QChar(u'…');
    if (shared)
        return shared->text(m_bytes, value, codec);
    return valueText(m_bytes, value, codec);
}

TextEncoding RecordTable::encoding(qsizetype row) const
{
    return recordEncoding(recordSpan(m_bytes, recordStart(row), slices(row).back()));
}

RecordSlices RecordTable::slices(qsizetype row) const
{
    RecordSlices values;
    readValues(row, values);
    return values;
}

qsizetype RecordTable::readValues(qsizetype row, RecordSlices& values) const
{
    ValueReader reader(m_bytes, recordStart(row));
    for (ValueSlice& value : values)
        reader.next(value);
    return reader.position();
}

QByteArrayView RecordTable::recordBytes(qsizetype row) const
{
    RecordSlices values;
    const qsizetype start = recordStart(row);
    return QByteArrayView(m_bytes).sliced(start, readValues(row, values) - start);
}

Swipe swipeOfRow(const RecordTable& table, qsizetype row, QDate day, const QString& recordsFolder,
                 const QString& photoFolder, const QString& parameterFile, SharedTexts* shared)
{
    auto [time, card, name, direction] = table.texts(row, shared);
    return {std::move(time), std::move(card), std::move(name), std::move(direction), day,
            recordsFolder,   photoFolder,     parameterFile};
}

} // namespace card
