#include "core/records/record_reader.h"

#include "core/text/text_decoding.h"
#include "core/text/value_reader.h"

#include <algorithm>

namespace card {

bool readRecord(ValueReader& reader, RecordSlices& record)
{
    for (ValueSlice& value : record) {
        if (!reader.next(value))
            return false;
    }
    return true;
}

RecordTable readRecords(QByteArray bytes, const RecordCriteria& criteria, bool cutShort)
{
    if (cutShort)
        bytes.truncate(std::max(bytes.lastIndexOf('\n'), bytes.lastIndexOf('\r')) + 1);
    const qsizetype bom = utf8BomLength(bytes);
    const TextEncoding encoding = detectEncoding(QByteArrayView(bytes).sliced(bom));
    RecordTable table(std::move(bytes), encoding);
    const RecordFilter filter(criteria, encoding);
    const QByteArrayView content = table.bytes();
    ValueReader reader(content, bom);
    RecordSlices record;
    while (!reader.atEnd()) {
        const qsizetype start = reader.position();
        if (!readRecord(reader, record))
            break;
        if (filter.keeps(content, record))
            table.appendRecordAt(start);
    }
    return table;
}

FileReadStatus readRecordFile(const QString& path, const RecordCriteria& criteria,
                              RecordTable& table)
{
    QByteArray bytes;
    const FileReadStatus status = readFileSnapshot(path, kMaxRecordFileSize, bytes);
    // After a read error the records read before it are kept.
    const bool cutShort = status == FileReadStatus::ReadError;
    const bool readable = status == FileReadStatus::Ok || cutShort;
    table = readable ? readRecords(std::move(bytes), criteria, cutShort) : RecordTable();
    return status;
}

} // namespace card
