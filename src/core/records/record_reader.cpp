#include "core/records/record_reader.h"

#include "core/platform/large_buffer.h"
#include "core/platform/site_io_pool.h"
#include "core/records/record_walker.h"
#include "core/text/text_decoding.h"
#include "core/text/value_reader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <vector>

namespace card {

bool readRecord(ValueReader& reader, RecordSlices& record)
{
    for (ValueSlice& value : record) {
        if (!reader.next(value))
            return false;
    }
    return true;
}

namespace {

// Below this many bytes a day is read on one thread: starting a second costs more than it saves.
constexpr qsizetype kSplitFrom = qsizetype(1) << 20;

// Reads on from from, where a record begins, while the records begin before to, keeping the
// starts of those filter passes. Returns where the next record begins, or the end of content
// when the records have ended (a last record cut short is dropped).
qsizetype readValuesBefore(QByteArrayView content, qsizetype from, qsizetype to,
                           const RecordFilter& filter, std::vector<quint32>& kept)
{
    ValueReader reader(content, from);
    RecordSlices record;
    while (!reader.atEnd() && reader.position() < to) {
        const qsizetype start = reader.position();
        if (!readRecord(reader, record))
            return content.size();
        if (filter.keeps(content, start, record))
            kept.push_back(static_cast<quint32>(start));
    }
    return reader.position();
}

// How far a walk over the records got: where the next record begins, or that the walk lost the
// layout in the block from lostAt, in the record beginning at lostRecord.
struct WalkEnd {
    qsizetype next = 0;
    bool lost = false;
    qsizetype lostRecord = 0;
    qsizetype lostAt = 0;
};

// readValuesBefore's records, found by the record walker: only the values the filter looks at
// are taken from the bytes walked, and with a filter that looks at none only the ends of the
// records are located.
WalkEnd walkRecordsBefore(QByteArrayView content, qsizetype from, qsizetype to,
                          const RecordFilter& filter, std::vector<quint32>& kept)
{
    // Checks for the first record at or after to are made this many bytes apart.
    constexpr qsizetype kStride = 16 * RecordWalker::kBlock;
    const bool readsValues = filter.readsValues();
    RecordSlices record;
    qsizetype reached = from; // where the record after the last one kept or passed begins
    const auto onValue = [&](const WalkedValue& value) {
        if (value.recordStart >= to)
            return;
        if (value.index == CardField || value.index == DirectionField)
            record[value.index] = walkedValueSlice(content, value);
        if (value.index != kRecordFieldCount - 1)
            return;
        if (filter.keeps(content, value.recordStart, record))
            kept.push_back(static_cast<quint32>(value.recordStart));
        reached = value.next;
    };
    const auto onRecord = [&](qsizetype start, qsizetype next) {
        if (start >= to)
            return;
        if (filter.keeps(content, start, record))
            kept.push_back(static_cast<quint32>(start));
        reached = next;
    };
    RecordWalker walker(content, from);
    while (reached < to && walker.position() < content.size()) {
        const qsizetype stop = std::min(walker.position() + kStride, content.size());
        const bool followed =
            readsValues ? walker.walkTo(stop, onValue) : walker.walkRecordsTo(stop, onRecord);
        if (!followed)
            return reached < to ? WalkEnd{0, true, reached, walker.position()} : WalkEnd{reached};
    }
    if (reached < to && readsValues)
        walker.finish(onValue);
    else if (reached < to)
        walker.finishRecords(onRecord);
    return WalkEnd{reached < to ? content.size() : reached};
}

// readValuesBefore's rows: the record walker finds them, and where it cannot follow the
// layout the value reader reads on from the record it lost it in until past the block it lost
// it in, where the walker takes over again.
qsizetype readRecordsBefore(QByteArrayView content, qsizetype from, qsizetype to,
                            const RecordFilter& filter, std::vector<quint32>& kept)
{
    qsizetype start = from;
    while (start < to && start < content.size()) {
        const WalkEnd end = walkRecordsBefore(content, start, to, filter, kept);
        if (!end.lost)
            return end.next;
        const qsizetype pastBlock = end.lostAt + RecordWalker::kBlock;
        start = readValuesBefore(content, end.lostRecord, std::min(to, pastBlock), filter, kept);
    }
    return start;
}

// The first line start at or after from: after a LF, a CR LF or a lone CR. The end when none.
qsizetype lineStartFrom(QByteArrayView content, qsizetype from)
{
    for (qsizetype i = std::max<qsizetype>(from - 1, 0); i < content.size(); ++i) {
        if (content[i] == '\n')
            return i + 1;
        if (content[i] == '\r')
            return i + 1 < content.size() && content[i + 1] == '\n' ? i + 2 : i + 1;
    }
    return content.size();
}

// completeRecordsEnd read by the value reader, from where the record walker lost the layout.
qsizetype readCompleteRecordsEnd(QByteArrayView bytes, qsizetype from)
{
    ValueReader reader(bytes, from);
    qsizetype end = from;
    RecordSlices record;
    while (!reader.atEnd() && readRecord(reader, record)) {
        // At the very end the last value may have run into the end instead of a separator.
        const ValueSlice& last = record.back();
        const bool separated =
            reader.position() < bytes.size() || (last.begin + last.length < bytes.size() &&
                                                 (bytes.back() == '\n' || bytes.back() == ','));
        if (!separated)
            break;
        end = reader.position();
    }
    return end;
}

// Puts part 0 (the first) or 1 of the day's bytes in place before they are parsed; false when
// they could not all be.
using FillPart = std::function<bool(std::size_t part)>;

// The kept records of content from firstRecord, read in two parts at once, on this thread and
// a site thread (or this one alone, when none is free by the time it is needed): when fill is
// given, each first puts a part's bytes in place, the first up to splitAt and the second from
// there. Once both are in, the second reads the records from the first line start at or after
// splitAt, guessing that a record begins there, while the first reads those before. Where the
// first part's records end shows whether the guess was right (a record begins exactly there);
// when it was not, this thread reads on alone. False, with nothing kept, when a part could not
// be put in place.
bool keepInParts(QByteArrayView content, qsizetype firstRecord, qsizetype splitAt,
                 const RecordCriteria& criteria, const FillPart& fill, std::vector<quint32>& kept)
{
    constexpr int kParts = 2;
    if (fill) {
        std::array<bool, kParts> in{};
        forEachOnSiteIo(kParts, kParts, [&](std::size_t part) { in[part] = fill(part); });
        if (!in[0] || !in[1])
            return false;
    }
    const qsizetype split = lineStartFrom(content, splitAt);
    std::vector<quint32> keptAfter;
    qsizetype next = split;
    // The filter remembers its last decoded value, so each part has its own.
    forEachOnSiteIo(kParts, kParts, [&](std::size_t part) {
        const RecordFilter filter(criteria);
        if (part == 0)
            next = readRecordsBefore(content, firstRecord, split, filter, kept);
        else
            readRecordsBefore(content, split, content.size(), filter, keptAfter);
    });
    if (next == split) {
        kept.insert(kept.end(), keptAfter.begin(), keptAfter.end());
    } else {
        // No record begins at the split (a quoted line end, a line of more or fewer values):
        // the second part was read out of step and the rest is read here.
        readRecordsBefore(content, next, content.size(), RecordFilter(criteria), kept);
    }
    return true;
}

} // namespace

qsizetype wholeLinesEnd(QByteArrayView bytes)
{
    return std::max(bytes.lastIndexOf('\n'), bytes.lastIndexOf('\r')) + 1;
}

namespace {

// The table over bytes, cut to the whole lines when cutShort, with where its records begin.
RecordTable emptyTable(QByteArray bytes, bool cutShort, qsizetype& firstRecord)
{
    if (cutShort)
        bytes.truncate(wholeLinesEnd(bytes));
    firstRecord = utf8BomLength(bytes);
    return RecordTable(std::move(bytes));
}

RecordTable readInParts(QByteArray bytes, const RecordCriteria& criteria, bool cutShort,
                        qsizetype splitAt)
{
    qsizetype firstRecord = 0;
    RecordTable table = emptyTable(std::move(bytes), cutShort, firstRecord);
    const QByteArrayView content = table.bytes();
    std::vector<quint32> kept;
    if (std::max(splitAt, firstRecord) >= content.size())
        readRecordsBefore(content, firstRecord, content.size(), RecordFilter(criteria), kept);
    else
        keepInParts(content, firstRecord, std::max(splitAt, firstRecord), criteria, {}, kept);
    table.appendRecordsAt(std::move(kept));
    return table;
}

// How far a read of a part got.
struct PartRead {
    qint64 filled = 0;
    FileReadStatus status = FileReadStatus::Ok;
};

// A day larger than its start (already read): the rest is read into place in two parts at
// once, each thread reading the records of its part once both parts are in. When a read comes
// short, the records of the whole lines read before it, as a read that stopped there; a later
// open or read failing is a ReadError.
FileReadStatus readLargeDay(const QString& path, const QByteArray& start, qint64 size,
                            const RecordCriteria& criteria, RecordTable& table)
{
    QByteArray bytes = largeBuffer(size);
    char* const data = bytes.data();
    std::memcpy(data, start.constData(), static_cast<size_t>(start.size()));
    QByteArray kept = bytes; // shared, so that a short read can be cut in place
    const qsizetype splitAt = std::max<qsizetype>(size / 2, start.size());
    PartRead first;
    PartRead second;
    const auto fillPart = [&path, data](qint64 from, qint64 to, PartRead& read) {
        if (from == to)
            return true;
        read.status = readFileInto(path, from, data + from, to - from, read.filled);
        return read.status == FileReadStatus::Ok && read.filled == to - from;
    };
    const auto fill = [&](std::size_t part) {
        return part == 0 ? fillPart(start.size(), splitAt, first) : fillPart(splitAt, size, second);
    };
    table = RecordTable(std::move(bytes));
    std::vector<quint32> rows;
    const bool whole =
        keepInParts(table.bytes(), utf8BomLength(start), splitAt, criteria, fill, rows);
    if (whole) {
        table.appendRecordsAt(std::move(rows));
        return FileReadStatus::Ok;
    }
    const bool firstShort = start.size() + first.filled < splitAt;
    const FileReadStatus status = firstShort ? first.status : second.status;
    const qsizetype read = firstShort ? start.size() + first.filled : splitAt + second.filled;
    table = RecordTable();
    QByteArray readBytes = std::move(kept);
    readBytes.truncate(read);
    const bool failed = status != FileReadStatus::Ok;
    table = readRecords(std::move(readBytes), criteria, failed);
    return failed ? FileReadStatus::ReadError : FileReadStatus::Ok;
}

} // namespace

qsizetype completeRecordsEnd(QByteArrayView bytes, qsizetype from)
{
    qsizetype end = from;
    RecordWalker walker(bytes, from);
    // A CR at the very end may be the first half of a CR LF.
    const bool followed = walker.walkRecordsTo(bytes.size(), [&](qsizetype, qsizetype next) {
        if (next < bytes.size() || bytes.back() != '\r')
            end = next;
    });
    return followed ? end : readCompleteRecordsEnd(bytes, end);
}

RecordTable readRecords(QByteArray bytes, const RecordCriteria& criteria, bool cutShort)
{
    const qsizetype middle = bytes.size() >= kSplitFrom ? bytes.size() / 2 : bytes.size();
    return readInParts(std::move(bytes), criteria, cutShort, middle);
}

RecordTable readRecordsSplitAt(QByteArray bytes, const RecordCriteria& criteria, qsizetype splitAt)
{
    return readInParts(std::move(bytes), criteria, false, splitAt);
}

FileReadStatus readRecordFile(const QString& path, const RecordCriteria& criteria,
                              RecordTable& table)
{
    // The start tells the file's size; a small day is read whole with it.
    QByteArray start;
    qint64 size = 0;
    FileReadStatus status = readFileFrom(path, 0, kSplitFrom, start, size);
    if (status == FileReadStatus::Ok && size > kMaxRecordFileSize)
        status = FileReadStatus::TooLarge;
    if (status == FileReadStatus::Ok && start.size() < size)
        return readLargeDay(path, start, size, criteria, table);
    // After a read error the records read before it are kept.
    const bool cutShort = status == FileReadStatus::ReadError;
    const bool readable = status == FileReadStatus::Ok || cutShort;
    table = readable ? readRecords(std::move(start), criteria, cutShort) : RecordTable();
    return status;
}

} // namespace card
