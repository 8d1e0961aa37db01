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

// Reads records of four values from a day file's bytes (UTF-8 when they are valid UTF-8, else
// code page 950; a byte order mark is skipped) in one pass and keeps, in file order, those the
// criteria pass. A tail of one to three values that does not make a record is dropped. When
// the bytes were cut short by a failed read, only the lines ended before the cut are read.
RecordTable readRecords(QByteArray bytes, const RecordCriteria& criteria, bool cutShort = false);

// Reads the file at path (read-only, the part written up to the moment it is opened) into
// table. After a ReadError the table holds the records of the lines read before it; on any
// other status but Ok it is empty.
FileReadStatus readRecordFile(const QString& path, const RecordCriteria& criteria,
                              RecordTable& table);

} // namespace card
