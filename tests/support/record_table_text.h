// Result rows for tests, written the way a daily record file writes them.
#pragma once

#include "record_query/record_table.h"

#include <QByteArray>

namespace card::test {

// A table of the records in text: values in the record file's syntax, four to a record.
RecordTable recordTableFromText(const QByteArray& text, TextEncoding encoding = TextEncoding::Utf8);

} // namespace card::test
