// The day file read into the table of the records that pass the filters.
#pragma once

#include "core/platform/file_bytes.h"
#include "core/records/record_filter.h"
#include "core/records/record_table.h"

#include <QByteArray>
#include <QString>

namespace card {

// The next four values; false when the bytes end before the fourth.
bool readRecord(ValueReader& reader, RecordSlices& record);

// Where the whole records of bytes, read from from (where a record begins), end: after the
// separator that ends the last record whose fourth value ended at a separator inside bytes; from
// when none is whole. A record cut anywhere (inside a value, inside a quoted value that holds a
// line end, inside a character, between CR and LF) is not whole yet.
qsizetype completeRecordsEnd(QByteArrayView bytes, qsizetype from = 0);

// Just past the last line end (CR or LF) in bytes, 0 when none: a file cut short by a failed
// read is read up to there.
qsizetype wholeLinesEnd(QByteArrayView bytes);

// Reads records of four values from a day file's bytes (each in its own encoding, see
// recordEncoding; a byte order mark is skipped) and keeps, in file order, those the criteria
// pass. A tail of one to three values that does not make a record is dropped. When the bytes
// were cut short by a failed read, only the lines ended before the cut are read. A large day is
// read in two halves at once (see readRecordsSplitAt).
RecordTable readRecords(QByteArray bytes, const RecordCriteria& criteria, bool cutShort = false);

// readRecords's rows, read in two parts at once: a site thread (or this one, when none has
// taken the part by the time it is needed) reads the records from the first line start after
// splitAt, guessing that a record begins there, while this one reads those before. Where the
// first part's records end shows whether the guess was right (a record begins exactly there);
// when it was not, this thread reads on alone. So every splitAt gives the rows of one
// sequential pass exactly; one at or past the end reads in one part.
RecordTable readRecordsSplitAt(QByteArray bytes, const RecordCriteria& criteria, qsizetype splitAt);

// Reads the file at path (read-only, the part written up to the moment it is first opened)
// into table. A large day is read into place in two halves at once, each thread reading the
// records of its half as soon as both halves are in. After a ReadError the table holds the
// records of the lines read before it; on any other status but Ok it is empty.
FileReadStatus readRecordFile(const QString& path, const RecordCriteria& criteria,
                              RecordTable& table);

} // namespace card
