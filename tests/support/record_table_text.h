// Result rows for tests, written the way a daily record file writes them.
#pragma once

#include "core/records/record_table.h"

#include <QByteArray>

namespace card::test {

// Every record of text (values in the record file's syntax, four to a record), as the query
// lists them with no filter.
RecordTable recordTableFromText(const QByteArray& text);

} // namespace card::test
